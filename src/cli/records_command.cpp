// gatectl records status | export | delete: the controller's stored records.
#include "cli/console_io.h"
#include "cli/controller_command.h"
#include "cli/subcommands.h"
#include "core/records/export_deletion.h"
#include "core/records/log_state.h"
#include "core/records/record_exporter.h"
#include "core/records/record_fields.h"
#include "util/result_text.h"

#include <QJsonObject>
#include <QSaveFile>

#include <unistd.h>

namespace cli {

namespace {

const QString kExportCaption = QStringLiteral("保存所有后台记录");
const QString kDeleteAfterCaption = QStringLiteral("保存并删除所有后台记录");
const QString kDeleteCaption = QStringLiteral("删除所有后台记录");

// Where the export goes: a file written under a temporary name and put in place only once it
// is whole, or standard output.
class ExportTarget {
public:
    explicit ExportTarget(const QString& path) : path_(path) {}

    bool Open(QString* error) {
        if (IsStdout()) {
            if (!stdout_.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                *error = QStringLiteral("standard output: ") + stdout_.errorString();
                return false;
            }
            return true;
        }
        file_.setFileName(path_);
        if (!file_.open(QIODevice::WriteOnly)) {
            *error = path_ % QStringLiteral(": ") % file_.errorString();
            return false;
        }
        return true;
    }
    QIODevice& Device() { return IsStdout() ? static_cast<QIODevice&>(stdout_) : file_; }
    bool IsStdout() const { return path_ == u"-"; }
    QString Name() const { return IsStdout() ? QStringLiteral("standard output") : path_; }
    // The file takes its place; false (with the reason) when that fails.
    bool Commit(QString* error) {
        if (IsStdout() || file_.commit()) {
            return true;
        }
        *error = path_ % QStringLiteral(": ") % file_.errorString();
        return false;
    }
    // The target stays as it was (the temporary file goes when the QSaveFile does).
    void Abandon() {
        if (!IsStdout()) {
            file_.cancelWriting();
        }
    }

private:
    QString path_;
    QSaveFile file_;
    QFile stdout_;
};

QJsonObject LogJson(const records::LogState& log) {
    QJsonObject o{{QStringLiteral("count"), log.count}};
    if (log.count > 0) {
        o.insert(QStringLiteral("earliest"), records::IsoTimeText(log.earliest));
        o.insert(QStringLiteral("latest"), records::IsoTimeText(log.latest));
    }
    return o;
}

// Why an export is not whole: exit code 3 when a retrieval got no valid reply, 1 when the
// controller refused one, 5 when it only delivered empty records.
Failure IncompleteExport(const records::ExportOutcome& out) {
    const std::int32_t failed = out.failureResult;
    Failure f = failed != 0 ? ResultFailure(QString(), failed) : VerificationFailure(QString());
    f.message = QStringLiteral("%1 of %2 records could not be read (their lines are empty)%3")
                    .arg(out.failedRetrievals)
                    .arg(out.log.count)
                    .arg(failed != 0 ? QStringLiteral("; last failure: ") + ExplainResult(failed)
                                     : QStringLiteral("; the controller delivered empty records"));
    return f;
}

// Deletes the exported log under the safety rules; nothing when it was deleted.
std::optional<Failure> DeleteAfterExport(GateConnection& conn, const records::ExportOutcome& out) {
    if (out.Complete() && out.unrepresentable > 0) {
        return IncompleteFailure(
            QStringLiteral("nothing deleted: %1 records have no line in the text format "
                           "(index %2); they are kept by --format csv or jsonl, raw body "
                           "included")
                .arg(out.unrepresentable)
                .arg(records::UnrepresentableIndexText(out)));
    }
    if (out.Complete() && !out.synced) {
        return FileFailure(
            QStringLiteral("nothing deleted: %1 could not be synced to the disk").arg(out.path));
    }
    if (!records::MayDeleteAfter(out)) {
        Failure f = IncompleteExport(out);
        f.message = QStringLiteral("nothing deleted: the export is incomplete: ") + f.message;
        return f;
    }
    const records::DeletionOutcome d =
        records::DeleteIfUnchanged(conn.Library(), conn.State(), out.log);
    switch (d.kind) {
        case records::DeletionOutcome::Kind::StateUnknown: {
            Failure f = LogStateFailure(d.now, d.result).value_or(Failure{});
            f.message = QStringLiteral("nothing deleted: the record state could not be checked: ") +
                        f.message;
            return f;
        }
        case records::DeletionOutcome::Kind::LogChanged:
            return VerificationFailure(
                QStringLiteral("nothing deleted: the stored records changed since the export "
                               "began (%1 exported, %2 now); export again")
                    .arg(out.log.count)
                    .arg(d.now.count));
        case records::DeletionOutcome::Kind::Deleted:
            break;
    }
    if (d.result != 0) {
        return ChangeResultFailure(kDeleteAfterCaption, d.result);
    }
    return std::nullopt;
}

}  // namespace

int RunRecordsStatus(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Show how many records the controller stores, the "
                                         "times of the earliest and the latest, and how full "
                                         "its record memory is."));
    AddLinkOptions(cl);
    const Opened opened = ParseAndOpen(cl, arguments);
    if (!opened) {
        return opened.exitCode;
    }
    gate::ConnectionState& c = opened.connection->State();
    const records::LogState log = records::QueryLogState(opened.connection->Library(), c);
    if (const auto failure = LogStateFailure(log, c.LastResult)) {
        return cl.Fail(*failure);
    }
    QJsonObject json = LogJson(log);
    json.insert(QStringLiteral("fill_status"), c.ReplyStatus);
    json.insert(QStringLiteral("fill_text"),
                util::ReplyStatusText(c.ReplyStatus, util::TextTable::Source()));
    QStringList lines{QStringLiteral("records:  ") + QString::number(log.count)};
    if (log.count > 0) {
        lines << QStringLiteral("earliest: ") + TimeString(log.earliest)
              << QStringLiteral("latest:   ") + TimeString(log.latest);
    }
    lines << QStringLiteral("memory:   %1 (%2)")
                 .arg(util::ReplyStatusMeaning(c.ReplyStatus),
                      util::ReplyStatusText(c.ReplyStatus, util::TextTable::Source()));
    return cl.Succeed(json, lines);
}

int RunRecordsExport(const QString& words, const QStringList& arguments) {
    CommandLine cl(words,
                   QStringLiteral("Export every stored record, in index order: \"text\" is the "
                                  "console's export file byte for byte (GBK, CR LF), \"csv\" "
                                  "UTF-8 CSV with a header row, \"jsonl\" one JSON object per "
                                  "record."));
    AddLinkOptions(cl);
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("text, csv or jsonl (default text)."),
                                    QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("Write to FILE (put in place only when written whole) or - for standard "
                       "output (the default)."),
        QStringLiteral("FILE|-"), QStringLiteral("-"));
    const QCommandLineOption deleteAfter(
        QStringLiteral("delete-after"),
        QStringLiteral("Then delete the stored records, only if every record was exported to "
                       "the --output FILE (required) and synced to the disk, and the "
                       "controller's log has not changed since."));
    for (const auto& o : {format, output, deleteAfter}) {
        cl.AddOption(o);
    }
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return exitCode;
    }
    const auto recordFormat = records::MakeRecordFormat(cl.Value(format));
    if (!recordFormat) {
        return cl.Fail(UsageFailure(
            QStringLiteral("--format %1: expected text, csv or jsonl").arg(cl.Value(format))));
    }
    ExportTarget target(cl.Value(output));
    // Bytes that reached a pipe may still be lost by its reader: only a file on the disk
    // makes the deletion safe.
    if (cl.IsSet(deleteAfter) && target.IsStdout()) {
        return cl.Fail(UsageFailure(QStringLiteral("--delete-after needs --output FILE")));
    }
    if (target.IsStdout()) {
        cl.StdoutCarriesData();
    }
    QString error;
    if (!target.Open(&error)) {
        return cl.Fail(FileFailure(QStringLiteral("cannot write ") + error));
    }
    const Opened opened = OpenLink(cl, *link);
    if (!opened) {
        target.Abandon();
        return opened.exitCode;
    }
    GateConnection& conn = *opened.connection;
    if (cl.IsSet(deleteAfter)) {
        if (const auto failure = conn.PinAddress()) {
            target.Abandon();
            return cl.Fail(*failure);
        }
    }

    records::RecordExporter exporter(conn.Library(), conn.State(), recordFormat.get());
    exporter.WriteTo(target.Device(), target.Name());
    if (!exporter.QueryStatus()) {
        target.Abandon();
        return cl.Fail(LogStateFailure(exporter.Outcome().log, exporter.Outcome().lastResult)
                           .value_or(Failure{}));
    }
    exporter.WriteRecords();
    if (!exporter.Close()) {
        target.Abandon();
        return cl.Fail(FileFailure(QStringLiteral("cannot write %1: %2")
                                       .arg(target.Name(), exporter.Outcome().fileError)));
    }
    if (!target.Commit(&error)) {
        return cl.Fail(FileFailure(QStringLiteral("cannot write ") + error));
    }
    records::ExportOutcome out = exporter.Outcome();
    if (cl.IsSet(deleteAfter)) {
        out.synced = records::SyncToDisk(target.Name(), &error);
        if (!out.synced) {
            ConsoleIo::ErrLine(cl.Name(), QStringLiteral("cannot sync ") + error);
        }
    }
    QJsonObject json{{QStringLiteral("output"), target.Name()},
                     {QStringLiteral("format"), cl.Value(format)},
                     {QStringLiteral("records"), out.log.count},
                     {QStringLiteral("unreadable"), out.failedRetrievals},
                     {QStringLiteral("complete"), out.Complete()},
                     {QStringLiteral("unrepresentable"), out.unrepresentable},
                     {QStringLiteral("deleted"), false}};
    QStringList lines{
        QStringLiteral("exported %1 records to %2").arg(out.log.count).arg(target.Name())};

    std::optional<Failure> failure;
    if (cl.IsSet(deleteAfter)) {
        failure = DeleteAfterExport(conn, out);
        if (!failure) {
            json.insert(QStringLiteral("deleted"), true);
            lines << QStringLiteral("deleted the %1 stored records").arg(out.log.count);
        }
    } else if (!out.Complete()) {
        failure = IncompleteExport(out);
    } else if (out.unrepresentable > 0) {
        // The file is the console's, whole as the console writes it; the records it cannot
        // hold are named so that nobody takes it for the whole log.
        ConsoleIo::ErrLine(cl.Name(),
                           QStringLiteral("warning: %1 records have no line in the text format "
                                          "(index %2); --format csv or jsonl keeps them")
                               .arg(out.unrepresentable)
                               .arg(records::UnrepresentableIndexText(out)));
    }
    if (failure) {
        return cl.Fail(*failure);
    }
    return cl.Succeed(json, lines);
}

int RunRecordsDelete(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Delete every stored record of the controller."));
    AddLinkOptions(cl);
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Confirm the deletion (required)."));
    cl.AddOption(yes);
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return exitCode;
    }
    if (!cl.IsSet(yes)) {
        return cl.Fail(
            UsageFailure(QStringLiteral("refusing to delete every stored record without --yes")));
    }
    const Opened opened = OpenLink(cl, *link);
    if (!opened) {
        return opened.exitCode;
    }
    if (const auto failure = opened.connection->PinAddress()) {
        return cl.Fail(*failure);
    }
    gate::ConnectionState& c = opened.connection->State();
    c.LastResult = opened.connection->Library().DeleteAllRecord(c.ControllerAddress, c.ReplyStatus,
                                                                c.PortHandle);
    if (c.LastResult != 0) {
        return cl.Fail(ChangeResultFailure(kDeleteCaption, c.LastResult));
    }
    return cl.Succeed({{QStringLiteral("deleted"), true}},
                      {QStringLiteral("deleted every stored record")});
}

}  // namespace cli
