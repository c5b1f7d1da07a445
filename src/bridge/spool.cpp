#include "bridge/spool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>

#include <sqlite3.h>

namespace bridge {

namespace {

constexpr qint64 kProbeIntervalMs = 1000;
// How long a group's first event waits for others to join its commit; small beside a sync.
constexpr auto kGroupWindow = std::chrono::microseconds(1000);
constexpr qint64 kGroupsKept = 1024;

// One prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return stmt_ != nullptr; }
    Statement& Bind(int i, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, i, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int i, const QByteArray& blob) {
        sqlite3_bind_blob(stmt_, i, blob.constData(), static_cast<int>(blob.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int i, qint64 v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return stmt_ != nullptr ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    void Reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    qint64 Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    QString Text(int column) const {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)));
    }
    QByteArray Blob(int column) const {
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, column)),
                          sqlite3_column_bytes(stmt_, column));
    }
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

qint64 PragmaValue(sqlite3* db, const char* sql) {
    Statement s(db, sql);
    return s.Step() == SQLITE_ROW ? s.Int(0) : 0;
}

}  // namespace

Spool::Spool(sqlite3* db, QString dir, qint64 maxBytes, Clock clock)
    : db_(db), dir_(std::move(dir)), maxBytes_(maxBytes), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
    }
}

Spool::~Spool() {
    sqlite3_close(db_);
}

std::unique_ptr<Spool> Spool::Open(const QString& dir, qint64 maxBytes, QString* error,
                                   Clock clock) {
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot create the state directory %1").arg(dir);
        return nullptr;
    }
    const QString path = QDir(dir).filePath(QStringLiteral("spool.sqlite"));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(
        path.toUtf8().constData(), &db,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        *error =
            QStringLiteral("cannot open %1: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<Spool> spool(new Spool(db, dir, maxBytes, std::move(clock)));
    if (!spool->Setup(error)) {
        *error = path + QStringLiteral(": ") + *error;
        return nullptr;
    }
    return spool;
}

bool Spool::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Spool::Setup(QString* error) {
    sqlite3_busy_timeout(db_, 5000);
    // WAL with a full sync of every commit: a committed entry is on the disk before the gate
    // is acknowledged.
    if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=FULL") ||
        !Exec("CREATE TABLE IF NOT EXISTS event(seq INTEGER PRIMARY KEY AUTOINCREMENT, "
              "gate TEXT NOT NULL, topic TEXT NOT NULL, payload BLOB NOT NULL, "
              "created_ms INTEGER NOT NULL)") ||
        !Exec("CREATE INDEX IF NOT EXISTS event_gate ON event(gate)") ||
        !Exec("CREATE TABLE IF NOT EXISTS gate(name TEXT PRIMARY KEY, next_seq INTEGER NOT NULL, "
              "ack_pending INTEGER NOT NULL)") ||
        !Exec("CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL)")) {
        *error = QString::fromUtf8(sqlite3_errmsg(db_));
        return false;
    }
    // The instance id lives in the spool, so that a new spool (and with it new sequence
    // numbers) never reuses the ids of an old one; the file beside it is for people.
    Statement read(db_, "SELECT value FROM meta WHERE key='instance'");
    if (read.Step() == SQLITE_ROW) {
        instanceId_ = read.Text(0);
    } else {
        instanceId_ =
            QString::number(QRandomGenerator::system()->generate64() & 0xFFFFFFFFFFFFull, 16)
                .rightJustified(12, u'0');
        Statement insert(db_, "INSERT INTO meta(key, value) VALUES('instance', ?1)");
        if (insert.Bind(1, instanceId_).Step() != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db_));
            return false;
        }
    }
    QSaveFile idFile(QDir(dir_).filePath(QStringLiteral("instance-id")));
    if (idFile.open(QIODevice::WriteOnly)) {
        idFile.write(instanceId_.toUtf8() + '\n');
        idFile.commit();
    }
    return true;
}

qint64 Spool::UsedBytesLocked() {
    return (PragmaValue(db_, "PRAGMA page_count") - PragmaValue(db_, "PRAGMA freelist_count")) *
           PragmaValue(db_, "PRAGMA page_size");
}

void Spool::Block(const QString& reason) {
    blockReason_ = reason;
    lastProbeMs_ = clock_();
}

bool Spool::EnsureGateLocked(const QString& gate) {
    Statement s(db_, "INSERT OR IGNORE INTO gate(name, next_seq, ack_pending) VALUES(?1, 1, 0)");
    return s.Bind(1, gate).Step() == SQLITE_DONE;
}

bool Spool::InsertLocked(const QString& gate, const QString& topic,
                         const std::function<QByteArray(const QString& id)>& payload) {
    if (!EnsureGateLocked(gate)) {
        return false;
    }
    Statement next(db_, "SELECT next_seq FROM gate WHERE name=?1");
    if (next.Bind(1, gate).Step() != SQLITE_ROW) {
        return false;
    }
    const qint64 seq = next.Int(0);
    const QString id = QStringLiteral("%1-%2-%3").arg(instanceId_, gate).arg(seq);
    Statement insert(db_,
                     "INSERT INTO event(gate, topic, payload, created_ms) VALUES(?1, ?2, ?3, ?4)");
    insert.Bind(1, gate).Bind(2, topic).Bind(3, payload(id)).Bind(4, clock_());
    Statement bump(db_, "UPDATE gate SET next_seq=next_seq+1, ack_pending=1 WHERE name=?1");
    return insert.Step() == SQLITE_DONE && bump.Bind(1, gate).Step() == SQLITE_DONE;
}

bool Spool::Add(const QString& gate, const QString& topic,
                const std::function<QByteArray(const QString& id)>& payload) {
    std::unique_lock lock(mutex_);
    if (!blockReason_.isEmpty()) {
        return false;
    }
    const bool leader = !groupOpen_;
    if (leader) {
        if (UsedBytesLocked() >= maxBytes_) {
            Block(QStringLiteral("the spool reached its bound of %1 MB").arg(maxBytes_ >> 20));
            return false;
        }
        if (!Exec("BEGIN IMMEDIATE")) {
            Block(QStringLiteral("cannot write the spool: ") +
                  QString::fromUtf8(sqlite3_errmsg(db_)));
            return false;
        }
        groupOpen_ = true;
        ++groupId_;
    }
    const qint64 group = groupId_;
    // A failed statement spoils the group: it is rolled back whole, and no member's gate is
    // acknowledged.
    if (!InsertLocked(gate, topic, payload) && failedGroups_.insert(group).second) {
        Block(QStringLiteral("cannot write the spool: ") + QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    if (!leader) {
        groupDone_.wait(lock, [&] { return groupsDone_ >= group; });
        return !failedGroups_.contains(group);
    }
    // The leader lets the workers that arrive meanwhile join, then commits for all of them.
    const auto until = std::chrono::steady_clock::now() + kGroupWindow;
    while (groupDone_.wait_until(lock, until) != std::cv_status::timeout) {
    }
    bool ok = !failedGroups_.contains(group);
    if (ok && !Exec("COMMIT")) {
        ok = false;
        failedGroups_.insert(group);
        Block(QStringLiteral("cannot write the spool: ") + QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    if (!ok) {
        Exec("ROLLBACK");
    }
    ++eventCommits_;
    groupOpen_ = false;
    groupsDone_ = group;
    failedGroups_.erase(failedGroups_.begin(), failedGroups_.lower_bound(group - kGroupsKept));
    groupDone_.notify_all();
    return ok;
}

void Spool::WaitForGroupLocked(std::unique_lock<std::mutex>& lock) {
    groupDone_.wait(lock, [this] { return !groupOpen_; });
}

bool Spool::ExecUnsynced(const std::function<bool()>& writes) {
    // Not synced by itself: the next synced commit (WAL order) or a checkpoint takes it to disk.
    Exec("PRAGMA synchronous=NORMAL");
    const bool ok = writes();
    Exec("PRAGMA synchronous=FULL");
    return ok;
}

qint64 Spool::EventCommits() {
    std::lock_guard lock(mutex_);
    return eventCommits_;
}

bool Spool::AckPending(const QString& gate) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT ack_pending FROM gate WHERE name=?1");
    return s.Bind(1, gate).Step() == SQLITE_ROW && s.Int(0) != 0;
}

bool Spool::ClearAckPending(const QString& gate) {
    std::lock_guard lock(mutex_);
    // Inside an open group the clear is committed with it; a rollback of that group only
    // repeats the acknowledgement.
    const auto clear = [&] {
        Statement s(db_, "UPDATE gate SET ack_pending=0 WHERE name=?1");
        return s.Bind(1, gate).Step() == SQLITE_DONE;
    };
    const bool cleared = groupOpen_ ? clear() : ExecUnsynced(clear);
    if (!cleared) {
        Block(QStringLiteral("cannot write the spool: ") + QString::fromUtf8(sqlite3_errmsg(db_)));
        return false;
    }
    return true;
}

QList<Spool::Entry> Spool::After(qint64 seq, int limit) {
    std::unique_lock lock(mutex_);
    WaitForGroupLocked(lock);  // only committed events go to the broker
    Statement s(db_, "SELECT seq, topic, payload FROM event WHERE seq > ?1 ORDER BY seq LIMIT ?2");
    s.Bind(1, seq).Bind(2, qint64(limit));
    QList<Entry> out;
    while (s.Step() == SQLITE_ROW) {
        out.append(Entry{s.Int(0), s.Text(1), s.Blob(2)});
    }
    return out;
}

void Spool::Remove(const QList<qint64>& seqs) {
    if (seqs.isEmpty()) {
        return;
    }
    std::unique_lock lock(mutex_);
    WaitForGroupLocked(lock);
    // A failed or unsynced delete leaves the entry to be published again: at least once, never
    // lost.
    ExecUnsynced([this, &seqs] {
        Exec("BEGIN");
        Statement s(db_, "DELETE FROM event WHERE seq=?1");
        for (const qint64 seq : seqs) {
            s.Bind(1, seq).Step();
            s.Reset();
        }
        return Exec("COMMIT");
    });
}

Spool::Figures Spool::Measure() {
    std::lock_guard lock(mutex_);
    Figures f;
    Statement s(db_, "SELECT COUNT(*), MIN(created_ms) FROM event");
    if (s.Step() == SQLITE_ROW) {
        f.backlog = s.Int(0);
        if (!s.IsNull(1)) {
            f.oldestAgeMs = std::max<qint64>(0, clock_() - s.Int(1));
        }
    }
    f.usedBytes = UsedBytesLocked();
    return f;
}

qint64 Spool::Backlog(const QString& gate) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT COUNT(*) FROM event WHERE gate=?1");
    return s.Bind(1, gate).Step() == SQLITE_ROW ? s.Int(0) : 0;
}

bool Spool::Writable() {
    std::unique_lock lock(mutex_);
    if (blockReason_.isEmpty()) {
        return true;
    }
    WaitForGroupLocked(lock);
    const qint64 now = clock_();
    if (now - lastProbeMs_ < kProbeIntervalMs) {
        return false;
    }
    lastProbeMs_ = now;
    if (UsedBytesLocked() >= maxBytes_) {
        return false;
    }
    if (!Exec("INSERT INTO meta(key, value) VALUES('probe', '0') ON CONFLICT(key) DO UPDATE SET "
              "value=value+1")) {
        return false;
    }
    blockReason_.clear();
    return true;
}

QString Spool::BlockReason() {
    std::lock_guard lock(mutex_);
    return blockReason_;
}

}  // namespace bridge
