#pragma once

#include "core/commands/controller_settings.h"
#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace commands {

// Reading every setting a controller can report, and writing settings back, over the gate
// library and the connection's fields. The connection's address is left as it is by the reads.

struct SettingsRead {
    ControllerIdentity identity;
    ControllerSettings settings;
    // Groups the controller refused to report, with the result it gave, and the settings it
    // has no read for at all.
    QMap<QString, QString> notRead;
    // Non-zero when the link failed (no valid reply): reading stopped at failedGroup.
    std::int32_t linkResult = 0;
    QString failedGroup;
};

// Reads the identity and every group, in the order of the group names. A refusal of one group
// is noted and reading goes on; a communication failure ends it.
SettingsRead ReadControllerSettings(gate::GateLibrary& library, gate::ConnectionState& connection);

// What became of one write request. A group may take several (tag-data reading: the block
// settings with reading on, then reading off; alarms: the mask, then the patterns).
struct WriteRequest {
    enum class State {
        Taken,          // the controller answered 0
        Refused,        // the controller answered with a refusal: not taken
        PossiblyTaken,  // no valid reply: it may or may not have been carried out
        NotSent,        // an earlier request failed, so this one was never sent
    };
    QString group;
    QString part;  // which request of the group ("mask", "patterns"); empty for a group of one
    State state = State::NotSent;

    // "alarms (patterns)", or the group's name alone.
    QString Name() const;
};

struct SettingsWrite {
    QStringList written;      // groups whose every request was taken, in order
    std::int32_t result = 0;  // the first result that was not 0; writing stopped there
    QString failedGroup;
    QList<WriteRequest> requests;  // every request planned, in order, with what became of it

    // The groups whose requests are all in this state (a group with requests in different
    // states is listed under PossiblyTaken, unless all of them are Refused or NotSent).
    QStringList GroupsIn(WriteRequest::State state) const;
};

// Writes the groups of wanted that differ from current (or that current lacks), in the order
// of the group names, the address last and only when withAddress. After the address is written
// the connection uses it. Stops at the first write that fails; the requests after it are
// listed as not sent.
SettingsWrite WriteControllerSettings(gate::GateLibrary& library, gate::ConnectionState& connection,
                                      const ControllerSettings& wanted,
                                      const ControllerSettings& current, bool withAddress);

}  // namespace commands
