#include "bridge/record_collection.h"

#include "bridge/results.h"
#include "core/records/export_file.h"
#include "core/records/log_state.h"
#include "core/records/stored_record.h"

#include <QDir>
#include <QSaveFile>

#include <array>

namespace bridge {

namespace {

// Library calls per slice: a few milliseconds on a network module, some tens on a serial line,
// so that the worker's polls come round often enough for live events to flow.
constexpr int kSliceCalls = 16;

QString IsoText(const QDateTime& t) {
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
}

bool SameRecord(const records::StoredRecord& a, const records::StoredRecord& b) {
    const auto x = a.Bytes();
    const auto y = b.Bytes();
    return a.Kind() == b.Kind() && std::equal(x.begin(), x.end(), y.begin(), y.end());
}

}  // namespace

QJsonObject RecordsOutcome::Json() const {
    return QJsonObject{
        {QStringLiteral("time"), IsoText(time)},
        {QStringLiteral("count"), count},
        {QStringLiteral("file"), file.isEmpty() ? QJsonValue() : QJsonValue(file)},
        {QStringLiteral("written"), written},
        {QStringLiteral("deleted"), deleted},
        {QStringLiteral("why"), why.isEmpty() ? QJsonValue() : QJsonValue(why)},
    };
}

RecordCollection::RecordCollection(QString gate, RecordsConfig config, QString stateDir,
                                   QDateTime start)
    : gate_(std::move(gate)),
      config_(std::move(config)),
      stateDir_(std::move(stateDir)),
      start_(std::move(start)),
      format_(records::MakeRecordFormat(config_.format)) {
    std::optional<QDateTime> last;
    QFile f(LastRunPath());
    if (f.open(QIODevice::ReadOnly)) {
        const QDateTime t =
            QDateTime::fromString(QString::fromUtf8(f.readAll()).trimmed(), Qt::ISODate);
        if (t.isValid()) {
            last = t;
        }
    }
    next_ = bridge::NextRun(config_.schedule, last, start_, start_);
}

RecordCollection::~RecordCollection() = default;

QString RecordCollection::LastRunPath() const {
    return stateDir_ + QStringLiteral("/records-") + gate_ + QStringLiteral(".last");
}

std::optional<RecordsOutcome> RecordCollection::Finished() {
    if (!finished_) {
        return std::nullopt;
    }
    finished_ = false;
    return outcome_;
}

RecordCollection::Step RecordCollection::Advance(gate::GateLibrary& library, gate::Byte address,
                                                 std::int32_t handle, const QDateTime& now) {
    switch (phase_) {
        case Phase::Idle:
            if (!next_.isValid() || now < next_) {
                return Step::Idle;
            }
            return Begin(library, address, handle);
        case Phase::Export:
            return ExportSlice(library, address, handle);
        case Phase::Delete:
            return DeleteSlice(library, address, handle);
    }
    return Step::Idle;
}

RecordCollection::Step RecordCollection::Begin(gate::GateLibrary& library, gate::Byte address,
                                               std::int32_t handle) {
    gate::ConnectionState query;
    query.ControllerAddress = address;
    query.PortHandle = handle;
    const records::LogState log = records::QueryLogState(library, query);
    const std::int32_t r = query.LastResult;
    if (r != gate::result::kOk) {
        Fail(QStringLiteral("reading the record memory's state failed (result %1)").arg(r));
        return IsCommunication(r) ? Step::LinkTrouble : Step::Idle;
    }
    if (log.countOutOfRange) {
        Fail(records::OutOfRangeCountText(log));
        return Step::Idle;
    }
    outcome_.count = 0;
    outcome_.file.clear();
    outcome_.written = false;
    outcome_.deleted = 0;
    outcome_.why.clear();
    written_.clear();
    unreadable_.clear();
    total_ = log.count;
    nextIndex_ = 1;
    deleteAt_ = 0;
    const QString folder = config_.dir + u'/' + gate_;
    if (!QDir().mkpath(folder)) {
        Fail(QStringLiteral("cannot create %1").arg(folder));
        return Step::Idle;
    }
    // A new file, never an existing one: a second run within one second gets a suffix.
    const QString stem =
        folder + u'/' + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString ext =
        config_.format == u"text" ? QStringLiteral(".txt") : QString(u'.' + config_.format);
    for (int n = 1; n <= 100 && !file_; ++n) {
        const QString name =
            n == 1 ? QString(stem + ext) : QString(stem + QStringLiteral("-%1").arg(n) + ext);
        auto f = std::make_unique<QFile>(name);
        if (f->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file_ = std::move(f);
        } else if (!f->exists()) {
            Fail(QStringLiteral("cannot create %1: %2").arg(f->fileName(), f->errorString()));
            return Step::Idle;
        }
    }
    if (!file_) {
        Fail(QStringLiteral("no free file name for %1").arg(stem));
        return Step::Idle;
    }
    outcome_.file = file_->fileName();
    phase_ = Phase::Export;
    const QByteArray header = format_->Header();
    if (file_->write(header) != header.size()) {
        Fail(QStringLiteral("cannot write %1: %2").arg(outcome_.file, file_->errorString()));
    }
    return Step::Busy;
}

RecordCollection::Step RecordCollection::ExportSlice(gate::GateLibrary& library, gate::Byte address,
                                                     std::int32_t handle) {
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    for (int calls = 0; calls < kSliceCalls && nextIndex_ <= total_; ++calls) {
        gate::Byte a = address, s = 0, length = 0, kind = 0;
        body.fill(0);
        const std::int32_t r =
            library.RetrieveRecordByIndex(a, nextIndex_, body, length, kind, s, handle);
        if (IsCommunication(r)) {
            Fail(QStringLiteral("the link failed while exporting record %1").arg(nextIndex_));
            return Step::LinkTrouble;
        }
        const records::RetrievedRecord retrieved{nextIndex_, r,
                                                 records::StoredRecord(kind, body, length)};
        // As gatectl: a record that cannot be read gets its empty line, and nothing is deleted.
        if (!retrieved.Delivered() && unreadable_.isEmpty()) {
            unreadable_ =
                QStringLiteral("record %1 could not be read (result %2)").arg(nextIndex_).arg(r);
        }
        const records::FormattedRecord formatted = format_->Record(retrieved);
        // The text file has no line for a record of a kind it does not know: such a record is
        // not in the file and must not be deleted.
        if (retrieved.Delivered() && !formatted.holdsRecord && unreadable_.isEmpty()) {
            unreadable_ = QStringLiteral("record %1 has no line in the %2 file")
                              .arg(nextIndex_)
                              .arg(config_.format);
        }
        const QByteArray& line = formatted.bytes;
        if (file_->write(line) != line.size()) {
            Fail(QStringLiteral("cannot write %1: %2").arg(outcome_.file, file_->errorString()));
            return Step::Idle;
        }
        written_.append(retrieved.record);
        ++nextIndex_;
    }
    if (nextIndex_ <= total_) {
        return Step::Busy;
    }
    if (!Seal()) {
        return Step::Idle;
    }
    if (!config_.deleteAfter) {
        End({});
        return Step::Idle;
    }
    if (!unreadable_.isEmpty()) {
        End(unreadable_ + QStringLiteral(": nothing deleted"));
        return Step::Idle;
    }
    phase_ = Phase::Delete;
    return Step::Busy;
}

bool RecordCollection::Seal() {
    // Whole and on disk before anything is deleted: flushed, then the file and its folder synced.
    const bool flushed = file_->flush();
    QString error = file_->errorString();
    file_->close();
    if (!flushed || !records::SyncToDisk(outcome_.file, &error)) {
        Fail(QStringLiteral("cannot write %1: %2").arg(outcome_.file, error));
        return false;
    }
    file_.reset();
    outcome_.count = written_.size();
    outcome_.written = true;
    outcome_.exportedTotal += written_.size();
    return true;
}

RecordCollection::Step RecordCollection::DeleteSlice(gate::GateLibrary& library, gate::Byte address,
                                                     std::int32_t handle) {
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    for (int calls = 0; calls < kSliceCalls / 2 && deleteAt_ < written_.size(); ++calls) {
        gate::Byte a = address, s = 0, length = 0, kind = 0;
        body.fill(0);
        std::int32_t r = library.RetrieveEarliestRecord(a, body, length, kind, s, handle);
        const QString done =
            QStringLiteral("%1 of %2 deleted: ").arg(deleteAt_).arg(written_.size());
        if (r != gate::result::kOk) {
            End(done + QStringLiteral("reading the earliest record failed (result %1)").arg(r));
            return IsCommunication(r) ? Step::LinkTrouble : Step::Idle;
        }
        const records::StoredRecord earliest(kind, body, length);
        if (length == 0 || !SameRecord(earliest, written_.at(deleteAt_))) {
            End(done + QStringLiteral("the earliest record is not record %1 of the file")
                           .arg(deleteAt_ + 1));
            return Step::Idle;
        }
        a = address;
        r = library.Acknowledge(a, handle);
        if (r != gate::result::kOk) {
            // Whether it was deleted is not known when the reply was lost: stop here, the rest
            // is compared again by the next run.
            End(done +
                QStringLiteral("deleting record %1 failed (result %2)").arg(deleteAt_ + 1).arg(r));
            return IsCommunication(r) ? Step::LinkTrouble : Step::Idle;
        }
        ++deleteAt_;
        outcome_.deleted = deleteAt_;
    }
    if (deleteAt_ < written_.size()) {
        return Step::Busy;
    }
    End({});
    return Step::Idle;
}

void RecordCollection::Fail(const QString& why) {
    // A file that is not whole is not kept: it would look like a collection.
    if (file_) {
        file_->close();
        file_->remove();
        file_.reset();
        outcome_.file.clear();
    }
    outcome_.written = false;
    ++outcome_.failuresTotal;
    End(why + QStringLiteral(": nothing deleted"));
}

void RecordCollection::Abort(const QString& why) {
    if (phase_ == Phase::Export) {
        Fail(why);
    } else if (phase_ == Phase::Delete) {
        End(QStringLiteral("%1 of %2 deleted: %3").arg(deleteAt_).arg(written_.size()).arg(why));
    }
}

void RecordCollection::End(const QString& why) {
    phase_ = Phase::Idle;
    written_.clear();
    outcome_.why = why;
    outcome_.time = QDateTime::currentDateTime();
    finished_ = true;
    QSaveFile f(LastRunPath());
    if (f.open(QIODevice::WriteOnly)) {
        f.write(IsoText(outcome_.time).toUtf8() + '\n');
        f.commit();
    }
    next_ = bridge::NextRun(config_.schedule, outcome_.time, start_, outcome_.time);
    RemoveOldFiles();
}

void RecordCollection::RemoveOldFiles() {
    if (!config_.keepDays) {
        return;
    }
    const QDateTime limit = QDateTime::currentDateTime().addDays(-*config_.keepDays);
    QDir folder(config_.dir + u'/' + gate_);
    const QStringList names = folder.entryList(
        {QStringLiteral("*.txt"), QStringLiteral("*.csv"), QStringLiteral("*.jsonl")}, QDir::Files);
    for (const QString& name : names) {
        // The run's time is in the name: <YYYY-MM-DD_HHMMSS>[-n].<ext>.
        const QDateTime t =
            QDateTime::fromString(name.left(17), QStringLiteral("yyyy-MM-dd_HHmmss"));
        if (t.isValid() && t < limit) {
            folder.remove(name);
        }
    }
}

}  // namespace bridge
