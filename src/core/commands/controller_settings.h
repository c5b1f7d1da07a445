#pragma once

#include "core/commands/alarm_values.h"
#include "core/commands/config_values.h"
#include "gate/gate_library.h"

#include <QMap>
#include <QString>

#include <array>
#include <optional>

namespace commands {

// Every setting a controller can report back, by group, as a settings backup holds them. A group
// that was not read (or that a document leaves out) is empty.
struct CorrelationSettings {
    bool enabled = false;
    bool useDefaultTimes = false;
    bool unique = false;
    bool earlyDetection = false;
    gate::Byte lead = 0;  // x50 ms
    gate::Byte lag = 0;   // x1 ms
    bool operator==(const CorrelationSettings&) const = default;
};

struct TagDataSettings {
    bool readBlocks = false;
    bool reread = false;
    gate::Byte repeat = 1;
    gate::Byte startBlock = 0;
    gate::Byte blockCount = 1;
    bool operator==(const TagDataSettings&) const = default;
};

struct AlarmSettings {
    AlarmEnables enabled{};
    AlarmPattern patterns{};
    bool operator==(const AlarmSettings&) const = default;
};

// The configuration block in wire order; BackRecordConfig and GreenLight hold 0 or 1.
using ConfigurationBlock = std::array<gate::Byte, kConfigFieldCount>;

struct ControllerSettings {
    std::optional<ConfigurationBlock> configuration;
    std::optional<CorrelationSettings> correlation;
    std::optional<TagDataSettings> tagData;
    std::optional<bool> infraredReverse;  // infrared detection direction
    std::optional<bool> readerLossAlarm;
    std::optional<bool> recordWriting;
    std::optional<AlarmSettings> alarms;
    std::optional<bool> easMode;  // operating mode: channel management or EAS
    std::optional<gate::Byte> address;
    bool operator==(const ControllerSettings&) const = default;
};

// Names of the groups, as the settings document and the messages call them, in the order they
// are read and written (the address last: writing it changes how the controller is reached).
namespace group {
inline const QString kConfiguration = QStringLiteral("configuration");
inline const QString kCorrelation = QStringLiteral("correlation");
inline const QString kTagData = QStringLiteral("tag_data");
inline const QString kInfraredDirection = QStringLiteral("infrared_direction");
inline const QString kReaderLossAlarm = QStringLiteral("reader_loss_alarm");
inline const QString kRecordWriting = QStringLiteral("record_writing");
inline const QString kAlarms = QStringLiteral("alarms");
inline const QString kOperatingMode = QStringLiteral("operating_mode");
inline const QString kAddress = QStringLiteral("address");
// A setting with no read operation: never in a backup, always listed as not read.
inline const QString kAutomaticLoading = QStringLiteral("automatic_loading");
}  // namespace group

// The identity of the controller a backup was taken from (for the reader; never written back).
struct ControllerIdentity {
    QString product;  // two hexadecimal digits
    QString version;  // "07.02"
    QString serial;   // "04-03-02-01"; empty when the controller does not report it
    bool forcedEas = false;
    bool operator==(const ControllerIdentity&) const = default;
};

}  // namespace commands
