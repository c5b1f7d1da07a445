#pragma once

#include <QJsonObject>
#include <QString>

namespace bridge {
struct RecordsOutcome;
}

namespace bridge {

// What a link worker tells the rest of the bridge; called from the worker's thread.
class WorkerSink {
public:
    virtual ~WorkerSink() = default;
    // The gate answers (true) or its link failed or its controller fell silent (false).
    virtual void Availability(const QString& gate, bool online) = 0;
    // The controller's part of the gate's state topic (mode, link, reader, records, ...).
    virtual void ControllerState(const QString& gate, const QJsonObject& state) = 0;
    // An event entered the spool.
    virtual void EventSpooled(const QString& gate) = 0;
    // The spool refused an event (full, unwritable) or takes events again.
    virtual void SpoolBlocked(const QString& reason) = 0;
    // A collection of the gate's stored records ended.
    virtual void RecordsCollected(const QString& gate, const RecordsOutcome& outcome) {
        static_cast<void>(gate);
        static_cast<void>(outcome);
    }
    // One line for the log.
    virtual void Log(const QString& line) = 0;
};

}  // namespace bridge
