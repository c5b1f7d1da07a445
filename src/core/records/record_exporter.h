#pragma once

#include "core/records/export_file.h"
#include "core/records/log_state.h"
#include "core/records/record_format.h"
#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <QDateTime>
#include <QList>
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
    std::int32_t lastResult = 0;     // result of the last library call
    std::int32_t failureResult = 0;  // of the last retrieval that failed with a code (0: none)
    // Delivered records the format has no line for (the text file and a kind it does not know
    // or a short body): how many, and the indexes of the first kMaxListedIndexes.
    std::int32_t unrepresentable = 0;
    QList<std::int32_t> unrepresentableIndexes;
    // The file and its folder reached the disk (fsync): set by Close() for the file of
    // CreateFile, by the caller for a device of WriteTo.
    bool synced = false;

    static constexpr int kMaxListedIndexes = 20;

    // Every record of the log is in the file: the query succeeded, each retrieval delivered a
    // record and every line reached the file.
    bool Complete() const {
        return created && statusOk && !writeFailed && failedRetrievals == 0 &&
               written == std::max<std::int32_t>(log.count, 0);
    }
    // Complete, every record held by its line, and the file on the disk: the log may go.
    bool CompleteForDeletion() const { return Complete() && unrepresentable == 0 && synced; }
};

// "3, 7, 12" (and ", ..." when more records than listed): the indexes of the records the file
// could not hold.
QString UnrepresentableIndexText(const ExportOutcome& outcome);

// Copies the controller's whole record log into a file: by default the console's text file,
// one GBK line per record, in index order, each ending in CR LF; with another format CSV or
// JSON lines. The steps are separate so that the caller can change its window between them
// (the export disables the command buttons only once the log-state query succeeded). One
// library call per record, strictly sequential.
class RecordExporter {
public:
    // Called after each line with the lines written so far and the total.
    using Progress = std::function<void(std::int32_t written, std::int32_t total)>;

    // The format must outlive the exporter; the console's text format when none is given.
    RecordExporter(gate::GateLibrary& library, gate::ConnectionState& connection,
                   const RecordFormat* format = nullptr);
    ~RecordExporter();

    // Step 1: a new, empty file named by startTime. False when no file could be created.
    bool CreateFile(const ExportDirectories& dirs, const QDateTime& startTime);
    // Or step 1: write to a device the caller opened and closes (path names it in messages).
    void WriteTo(QIODevice& device, const QString& path);

    // Step 2: the log-state query. False when it failed (LastResult holds its result).
    bool QueryStatus();

    // Step 3: the format's header, then one retrieval and one line per record; a failed
    // retrieval gives an empty line (or the format's failure line) and the loop goes on. False,
    // and the loop ends, when a line cannot be written.
    bool WriteRecords(const Progress& progress = {});

    // Step 4: flushes and closes the file (a device of WriteTo is only flushed when it is a
    // file); the file of CreateFile is then synced to the disk with its folder (a failed sync
    // leaves synced false: the export stands but may not be deleted). False when the last bytes
    // could not be written.
    bool Close();

    const ExportOutcome& Outcome() const { return outcome_; }

private:
    void NoteWriteFailure();
    bool Write(const QByteArray& bytes);

    gate::GateLibrary& library_;
    gate::ConnectionState& connection_;
    const RecordFormat& format_;
    std::unique_ptr<QFile> file_;  // the file of CreateFile
    QIODevice* out_ = nullptr;     // where the lines go: file_ or the device of WriteTo
    ExportOutcome outcome_;
};

// All four steps in a row, for callers without a window (tools, benchmarks).
ExportOutcome ExportAllRecords(gate::GateLibrary& library, gate::ConnectionState& connection,
                               const ExportDirectories& dirs, const QDateTime& startTime,
                               const RecordExporter::Progress& progress = {});

}  // namespace records
