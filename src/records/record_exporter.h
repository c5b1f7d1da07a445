#pragma once

#include "gate/connection_state.h"
#include "gate/gate_library.h"
#include "records/export_file.h"
#include "records/log_state.h"

#include <QDateTime>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

namespace records {

// What an export did, for the report and for the decision whether the log may be deleted.
struct ExportOutcome {
    QString path;                       // the file written (or the path that could not be created)
    QString fileError;                  // non-empty when the file could not be created or written
    bool created = false;               // the file exists
    bool statusOk = false;              // the log-state query succeeded
    LogState log;                       // the log state the export was based on
    std::int32_t written = 0;           // lines written to the file
    std::int32_t failedRetrievals = 0;  // retrievals that gave an empty line (error or length 0)
    bool writeFailed = false;
    std::int32_t lastResult = 0;  // result of the last library call

    // Every record of the log is in the file: the query succeeded, each retrieval delivered a
    // record and every line reached the file.
    bool Complete() const {
        return created && statusOk && !writeFailed && failedRetrievals == 0 &&
               written == std::max<std::int32_t>(log.count, 0);
    }
};

// Copies the controller's whole record log into a new text file: one GBK line per record, in
// index order, each ending in CR LF. The steps are separate so that the caller can change its
// window between them (the export disables the command buttons only once the log-state query
// succeeded). One library call per record, strictly sequential.
class RecordExporter {
public:
    // Called after each line with the lines written so far and the total.
    using Progress = std::function<void(std::int32_t written, std::int32_t total)>;

    RecordExporter(gate::GateLibrary& library, gate::ConnectionState& connection);
    ~RecordExporter();

    // Step 1: a new, empty file named by startTime. False when no file could be created.
    bool CreateFile(const ExportDirectories& dirs, const QDateTime& startTime);

    // Step 2: the log-state query. False when it failed (LastResult holds its result).
    bool QueryStatus();

    // Step 3: one retrieval and one line per record; a failed retrieval gives an empty line and
    // the loop goes on. False, and the loop ends, when a line cannot be written.
    bool WriteRecords(const Progress& progress = {});

    // Step 4: flushes and closes the file. False when the last bytes could not be written.
    bool Close();

    const ExportOutcome& Outcome() const { return outcome_; }

private:
    void NoteWriteFailure();

    gate::GateLibrary& library_;
    gate::ConnectionState& connection_;
    std::unique_ptr<QFile> file_;
    ExportOutcome outcome_;
};

// All four steps in a row, for callers without a window (tools, benchmarks).
ExportOutcome ExportAllRecords(gate::GateLibrary& library, gate::ConnectionState& connection,
                               const ExportDirectories& dirs, const QDateTime& startTime,
                               const RecordExporter::Progress& progress = {});

}  // namespace records
