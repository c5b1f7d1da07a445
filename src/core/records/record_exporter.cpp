#include "core/records/record_exporter.h"

#include "core/records/stored_record.h"

#include <QFileDevice>

#include <array>

namespace records {

namespace {

const TextExportFormat kTextFormat;

}  // namespace

RecordExporter::RecordExporter(gate::GateLibrary& library, gate::ConnectionState& connection,
                               const RecordFormat* format)
    : library_(library), connection_(connection), format_(format ? *format : kTextFormat) {}

RecordExporter::~RecordExporter() = default;

bool RecordExporter::CreateFile(const ExportDirectories& dirs, const QDateTime& startTime) {
    CreatedExportFile created = CreateExportFile(dirs, startTime);
    outcome_.path = created.path;
    if (!created.file) {
        outcome_.fileError = created.error;
        return false;
    }
    file_ = std::move(created.file);
    out_ = file_.get();
    outcome_.created = true;
    return true;
}

void RecordExporter::WriteTo(QIODevice& device, const QString& path) {
    out_ = &device;
    outcome_.path = path;
    outcome_.created = true;
}

bool RecordExporter::Write(const QByteArray& bytes) {
    if (out_->write(bytes) != bytes.size()) {
        NoteWriteFailure();
        return false;
    }
    return true;
}

bool RecordExporter::QueryStatus() {
    outcome_.log = QueryLogState(library_, connection_);
    outcome_.lastResult = connection_.LastResult;
    outcome_.statusOk = LogState::Usable(connection_.LastResult, outcome_.log);
    return outcome_.statusOk;
}

bool RecordExporter::WriteRecords(const Progress& progress) {
    if (out_ == nullptr || !outcome_.statusOk) {
        return false;
    }
    if (!Write(format_.Header())) {
        return false;
    }
    const std::int32_t total = std::max<std::int32_t>(outcome_.log.count, 0);
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    for (std::int32_t i = 1; i <= total; ++i) {
        gate::Byte length = 0;
        gate::Byte kindByte = 0;
        body.fill(0);
        connection_.LastResult =
            library_.RetrieveRecordByIndex(connection_.ControllerAddress, i, body, length, kindByte,
                                           connection_.ReplyStatus, connection_.PortHandle);
        outcome_.lastResult = connection_.LastResult;
        const RetrievedRecord retrieved{i, connection_.LastResult,
                                        StoredRecord(kindByte, body, length)};
        if (!retrieved.Delivered()) {
            ++outcome_.failedRetrievals;
            if (retrieved.result != gate::result::kOk) {
                outcome_.failureResult = retrieved.result;
            }
        }
        const FormattedRecord formatted = format_.Record(retrieved);
        if (retrieved.Delivered() && !formatted.holdsRecord) {
            if (outcome_.unrepresentable++ < ExportOutcome::kMaxListedIndexes) {
                outcome_.unrepresentableIndexes.append(i);
            }
        }
        if (!Write(formatted.bytes)) {
            return false;
        }
        ++outcome_.written;
        if (progress) {
            progress(outcome_.written, total);
        }
    }
    return true;
}

bool RecordExporter::Close() {
    if (!file_) {
        if (auto* file = qobject_cast<QFileDevice*>(out_); file != nullptr && !file->flush()) {
            NoteWriteFailure();
        }
        out_ = nullptr;
        return !outcome_.writeFailed;
    }
    if (!file_->flush()) {
        NoteWriteFailure();
    }
    file_->close();
    file_.reset();
    out_ = nullptr;
    if (!outcome_.writeFailed) {
        outcome_.synced = SyncToDisk(outcome_.path, nullptr);
    }
    return !outcome_.writeFailed;
}

void RecordExporter::NoteWriteFailure() {
    if (!outcome_.writeFailed) {
        outcome_.writeFailed = true;
        outcome_.fileError = out_->errorString();
    }
}

QString UnrepresentableIndexText(const ExportOutcome& outcome) {
    QStringList numbers;
    for (const std::int32_t index : outcome.unrepresentableIndexes) {
        numbers << QString::number(index);
    }
    if (outcome.unrepresentable > outcome.unrepresentableIndexes.size()) {
        numbers << QStringLiteral("...");
    }
    return numbers.join(QStringLiteral(", "));
}

ExportOutcome ExportAllRecords(gate::GateLibrary& library, gate::ConnectionState& connection,
                               const ExportDirectories& dirs, const QDateTime& startTime,
                               const RecordExporter::Progress& progress) {
    RecordExporter exporter(library, connection);
    if (exporter.CreateFile(dirs, startTime) && exporter.QueryStatus()) {
        exporter.WriteRecords(progress);
    }
    exporter.Close();
    return exporter.Outcome();
}

}  // namespace records
