#pragma once

#include "cli/failure.h"
#include "cli/gate_connection.h"
#include "core/monitor/journal_writer.h"
#include "core/monitor/message_poller.h"
#include "util/clock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <utility>

namespace cli {

struct MonitorOptions {
    bool jsonLines = false;   // JSON objects instead of the console's display lines
    QString outputDirectory;  // daily files there; standard output when empty
    bool acknowledge = true;
    std::optional<std::array<gate::Byte, 6>> ledBuzzer;  // lamp and buzzer for tagged passages
    int pollIntervalMs = 50;
    int firstBackoffMs = 500;
    int maxBackoffMs = 30000;
};

// Polls the controller's live messages like the console's monitoring pages, in the mode the
// controller reports, and writes every display line (or its JSON object) before the message is
// acknowledged: every line of a message is flushed to its file or to standard output before the
// poll sends the first acknowledgement, so an acknowledged event is never lost, and a line that
// could not be written leaves the message unacknowledged in the controller. An acknowledgement
// whose reply was lost is repeated by the gate library before the next fetch, so a message whose
// deletion did not reach the controller is not shown twice.
//
// A lost link is reopened with a back-off that doubles up to maxBackoffMs, each attempt said on
// stderr; polling resumes where it stopped. The back-off starts over only once a poll of the
// reopened link got a reply. A reopened link that another controller answers, or a lost serial
// line whose controller has no serial number, ends the run (exit code 3). SIGINT and SIGTERM
// end the run between two polls.
class MonitorSession final : public QObject, private monitor::PollSink {
    Q_OBJECT
public:
    MonitorSession(GateConnection& connection, MonitorOptions options, const util::Clock& clock,
                   QString commandName);

    // Reads the mode, then polls until a signal or a failure that ends the run; the exit code.
    int Run();

private:
    void Tick();
    // Reads the controller's mode; false when the read failed (its result in LastResult).
    bool ReadMode();
    void AfterPoll();
    void LinkLost(std::int32_t result);
    void Reconnect();
    void Finish(int exitCode, const std::optional<Failure>& failure = std::nullopt);
    bool WriteLine(monitor::MonitorList list, const QString& line);
    void Note(const QString& message) const;

    // PollSink
    void AppendLine(monitor::MonitorList list, const QString& line) override;
    void ScrollToNewest(monitor::MonitorList) override {}
    void ProcessPendingEvents() override {}
    std::optional<std::array<gate::Byte, 6>> LedBuzzerSelection() override;
    void Report(const QString&, std::int32_t, gate::Byte) override {}
    bool MayAcknowledge() override;

    GateConnection& connection_;
    MonitorOptions options_;
    const util::Clock& clock_;
    QString name_;
    std::unique_ptr<monitor::JournalWriter> journal_;
    bool pollBusy_ = false;
    QString lastNoPersonText_;
    monitor::MessagePoller poller_;
    QTimer pollTimer_;
    QTimer reconnectTimer_;

    bool easMode_ = false;
    int commFailures_ = 0;
    int backoffMs_ = 0;  // 0: the link carried a poll since it was last (re)opened
    std::int32_t lastNotedResult_ = 0;
    bool writeFailed_ = false;
    QString writeError_;
    // Without acknowledgements the controller delivers a message again: the lines of the last
    // poll that showed something, so that a message delivered again is written once.
    QList<std::pair<monitor::MonitorList, QString>> pollLines_;
    QList<std::pair<monitor::MonitorList, QString>> lastShown_;
    int exitCode_ = 0;
};

}  // namespace cli
