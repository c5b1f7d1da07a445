#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

struct sqlite3;

namespace bridge {

// The store-and-forward spool: every event is written here, durably, before its gate is
// acknowledged, and leaves only when the broker confirmed it. SQLite in WAL mode with
// synchronous=FULL, so a committed entry survives a crash and a power cut.
//
// It also keeps, per gate, the sequence number of its event ids and whether an acknowledgement
// is pending (sent or about to be sent, its outcome unknown), so that a restart repeats it
// before the gate's next fetch. Event ids are "<instance>-<gate>-<seq>": the instance id is
// made once with the spool and kept in it (and in the file instance-id beside it), the sequence
// grows in the same transaction that stores the event, so no id is ever given twice.
//
// Events of all workers that arrive together share one transaction and one sync (a group
// commit): a worker's Add returns once the commit holding its event is on the disk, and a
// commit syncs the disk once for everyone in it, so the spool keeps up with many gates on a disk
// whose sync takes milliseconds. Clearing an acknowledgement and removing confirmed entries are
// not synced on their own (they ride on the next sync): losing them in a power cut only repeats
// an acknowledgement (which deletes nothing more) or a publication (the subscriber drops the
// repeated id), so nothing is lost.
//
// When the spool cannot be written (disk full, unwritable, or past its size bound) it says so
// (Blocked) and takes nothing until a probe write succeeds again, at most once a second.
// Every method may be called from any thread.
class Spool {
public:
    struct Entry {
        qint64 seq = 0;
        QString topic;
        QByteArray payload;
    };
    struct Figures {
        qint64 backlog = 0;
        std::optional<qint64> oldestAgeMs;
        qint64 usedBytes = 0;
    };
    using Clock = std::function<qint64()>;  // milliseconds since the epoch

    ~Spool();

    // Opens (or creates) the spool in dir; nothing and the reason when it cannot.
    static std::unique_ptr<Spool> Open(const QString& dir, qint64 maxBytes, QString* error,
                                       Clock clock = {});

    QString InstanceId() const { return instanceId_; }

    // Stores one event of gate: payload(id) makes its bytes once its id is known. The gate's
    // acknowledgement becomes pending in the same transaction. False (and Blocked) when the
    // spool could not take it; the gate must then not be acknowledged.
    bool Add(const QString& gate, const QString& topic,
             const std::function<QByteArray(const QString& id)>& payload);

    // Whether an acknowledgement of gate is pending; and clearing it, durably. False when the
    // clear could not be written (the gate must not be fetched then).
    bool AckPending(const QString& gate);
    bool ClearAckPending(const QString& gate);

    // Up to limit entries after seq, oldest first.
    QList<Entry> After(qint64 seq, int limit);
    // Removes confirmed entries.
    void Remove(const QList<qint64>& seqs);

    Figures Measure();
    // Transactions that stored events since the spool was opened (fewer than the events when
    // workers share commits).
    qint64 EventCommits();
    qint64 Backlog(const QString& gate);

    // Whether the spool takes events now; while blocked, probes the store at most once a
    // second and unblocks when a write succeeds and the size bound allows it.
    bool Writable();
    // Why it is blocked (empty when it is not).
    QString BlockReason();

private:
    Spool(sqlite3* db, QString dir, qint64 maxBytes, Clock clock);
    bool Exec(const char* sql);
    bool Setup(QString* error);
    qint64 UsedBytesLocked();
    void Block(const QString& reason);
    bool EnsureGateLocked(const QString& gate);
    bool InsertLocked(const QString& gate, const QString& topic,
                      const std::function<QByteArray(const QString& id)>& payload);
    // Waits until no group transaction is open, so that a statement of its own is not taken
    // into one.
    void WaitForGroupLocked(std::unique_lock<std::mutex>& lock);
    bool ExecUnsynced(const std::function<bool()>& writes);

    sqlite3* db_;
    QString dir_;
    qint64 maxBytes_;
    Clock clock_;
    QString instanceId_;
    std::mutex mutex_;
    std::condition_variable groupDone_;
    bool groupOpen_ = false;         // a transaction of events is open, its leader waits for more
    qint64 groupId_ = 0;             // the latest group's number
    qint64 groupsDone_ = 0;          // groups committed or rolled back, in order
    std::set<qint64> failedGroups_;  // recent groups that were rolled back
    qint64 eventCommits_ = 0;
    QString blockReason_;
    qint64 lastProbeMs_ = 0;
};

}  // namespace bridge
