#pragma once

#include "bridge/collection_config.h"
#include "core/records/record_format.h"
#include "gate/gate_library.h"

#include <QDateTime>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace bridge {

// What the last collection of a gate did, for its retained records topic and for the metrics.
struct RecordsOutcome {
    QDateTime time;        // when the run ended
    qint64 count = 0;      // records written to the file
    QString file;          // the file written; empty when none was kept
    bool written = false;  // the file holds every record, synced to disk
    qint64 deleted = 0;    // records removed from the controller after the file was synced
    QString why;           // why the run failed or not every written record was deleted
    // Since the bridge started.
    qint64 exportedTotal = 0;
    qint64 failuresTotal = 0;

    QJsonObject Json() const;
};

// The collection of one gate's stored records into a new file, run on the gate's own worker in
// slices between its polls, so that live events keep flowing during a long export.
//
// A run: the log state is read; a new file <dir>/<gate>/<YYYY-MM-DD_HHMMSS>.<ext> is created
// (never an existing one) and the records are written in index order, in gatectl's formats
// byte for byte; the file is flushed and synced. Only then, with delete_after, each written
// record is removed: the earliest record is read and acknowledged only when it equals the
// record written at that place, so records that arrived during the export stay for the next
// run, and a record that differs stops the deletion. A record that could not be read, a write
// that failed (a full disk) or a lost link deletes nothing.
//
// The time of the last run is kept in <state_dir>/records-<gate>.last, so that a run missed
// while the bridge was down is made up at its start.
class RecordCollection {
public:
    enum class Step { Idle, Busy, LinkTrouble };

    RecordCollection(QString gate, RecordsConfig config, QString stateDir, QDateTime start);
    ~RecordCollection();

    bool Running() const { return phase_ != Phase::Idle; }
    QDateTime NextRun() const { return next_; }

    // Starts a run when one is due, or goes on with the one running: at most a slice of library
    // calls. Busy while the run goes on; when it ends, Finished() holds its outcome once.
    Step Advance(gate::GateLibrary& library, gate::Byte address, std::int32_t handle,
                 const QDateTime& now);
    // The outcome of a run that has just ended (taken once).
    std::optional<RecordsOutcome> Finished();
    // Ends a running run without deleting anything (the link went down).
    void Abort(const QString& why);

private:
    enum class Phase { Idle, Export, Delete };

    Step Begin(gate::GateLibrary& library, gate::Byte address, std::int32_t handle);
    Step ExportSlice(gate::GateLibrary& library, gate::Byte address, std::int32_t handle);
    bool Seal();
    Step DeleteSlice(gate::GateLibrary& library, gate::Byte address, std::int32_t handle);
    void End(const QString& why);
    void Fail(const QString& why);
    void RemoveOldFiles();
    QString LastRunPath() const;

    QString gate_;
    RecordsConfig config_;
    QString stateDir_;
    QDateTime start_;
    QDateTime next_;
    std::unique_ptr<records::RecordFormat> format_;
    Phase phase_ = Phase::Idle;
    std::unique_ptr<QFile> file_;
    std::int32_t total_ = 0;
    std::int32_t nextIndex_ = 0;
    QList<records::StoredRecord> written_;  // what the file holds, in order
    QString unreadable_;                    // why a record could not be read
    qint64 deleteAt_ = 0;
    RecordsOutcome outcome_;
    bool finished_ = false;
};

}  // namespace bridge
