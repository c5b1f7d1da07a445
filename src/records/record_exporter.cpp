#include "records/record_exporter.h"

#include "records/record_lines.h"
#include "records/stored_record.h"
#include "util/gbk_codec.h"

#include <array>

namespace records {

RecordExporter::RecordExporter(gate::GateLibrary& library, gate::ConnectionState& connection)
    : library_(library), connection_(connection) {}

RecordExporter::~RecordExporter() = default;

bool RecordExporter::CreateFile(const ExportDirectories& dirs, const QDateTime& startTime) {
    CreatedExportFile created = CreateExportFile(dirs, startTime);
    outcome_.path = created.path;
    if (!created.file) {
        outcome_.fileError = created.error;
        return false;
    }
    file_ = std::move(created.file);
    outcome_.created = true;
    return true;
}

bool RecordExporter::QueryStatus() {
    outcome_.log = QueryLogState(library_, connection_);
    outcome_.lastResult = connection_.LastResult;
    outcome_.statusOk = connection_.LastResult == gate::result::kOk;
    return outcome_.statusOk;
}

bool RecordExporter::WriteRecords(const Progress& progress) {
    if (!file_ || !outcome_.statusOk) {
        return false;
    }
    const std::int32_t total = std::max<std::int32_t>(outcome_.log.count, 0);
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    QByteArray line;
    for (std::int32_t i = 1; i <= total; ++i) {
        gate::Byte length = 0;
        gate::Byte kindByte = 0;
        body.fill(0);
        connection_.LastResult =
            library_.RetrieveRecordByIndex(connection_.ControllerAddress, i, body, length, kindByte,
                                           connection_.ReplyStatus, connection_.PortHandle);
        outcome_.lastResult = connection_.LastResult;
        line.clear();
        if (connection_.LastResult == gate::result::kOk && length > 0) {
            line = util::ToGbk(ExportLine(i, StoredRecord(kindByte, body, length)));
        } else {
            ++outcome_.failedRetrievals;
        }
        line.append("\r\n");
        if (file_->write(line) != line.size()) {
            NoteWriteFailure();
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
        return !outcome_.writeFailed;
    }
    if (!file_->flush()) {
        NoteWriteFailure();
    }
    file_->close();
    file_.reset();
    return !outcome_.writeFailed;
}

void RecordExporter::NoteWriteFailure() {
    if (!outcome_.writeFailed) {
        outcome_.writeFailed = true;
        outcome_.fileError = file_->errorString();
    }
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
