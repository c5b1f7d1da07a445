#include "cli/monitor_session.h"

#include "cli/console_io.h"
#include "cli/signal_watch.h"
#include "core/commands/switch_values.h"
#include "core/monitor/monitor_output.h"

#include <QCoreApplication>

namespace cli {

namespace {

const QString kModeCaption = QStringLiteral("模式读取");

}  // namespace

MonitorSession::MonitorSession(GateConnection& connection, MonitorOptions options,
                               const util::Clock& clock, QString commandName)
    : connection_(connection),
      options_(std::move(options)),
      clock_(clock),
      name_(std::move(commandName)),
      poller_(connection.Library(), {connection.State(), pollBusy_, lastNoPersonText_}, *this,
              util::TextTable::Source()) {
    pollTimer_.setInterval(options_.pollIntervalMs);
    connect(&pollTimer_, &QTimer::timeout, this, &MonitorSession::Tick);
    reconnectTimer_.setSingleShot(true);
    connect(&reconnectTimer_, &QTimer::timeout, this, &MonitorSession::Reconnect);
    if (!options_.outputDirectory.isEmpty()) {
        journal_ = std::make_unique<monitor::JournalWriter>(
            options_.outputDirectory,
            options_.jsonLines ? QStringLiteral("jsonl") : QStringLiteral("log"), clock_);
        journal_->SetErrorHandler([this](const QString& message) { writeError_ = message; });
    }
}

void MonitorSession::Note(const QString& message) const {
    ConsoleIo::ErrLine(name_, message);
}

int MonitorSession::Run() {
    if (journal_) {
        QString error;
        if (!journal_->Prepare(&error)) {
            Note(error);
            return Code(ExitCode::File);
        }
    }
    SignalWatch watch;
    if (!watch.Install()) {
        Note(QStringLiteral("cannot watch for SIGINT and SIGTERM"));
        return Code(ExitCode::File);
    }
    connect(&watch, &SignalWatch::Caught, this, [this](int) { Finish(Code(ExitCode::Done)); });
    if (!ReadMode()) {
        return Code(ResultFailure(kModeCaption, connection_.State().LastResult).code);
    }
    Note(QStringLiteral("polling %1 messages on %2")
             .arg(easMode_ ? QStringLiteral("EAS") : QStringLiteral("channel-management"),
                  connection_.Link().Describe()));
    pollTimer_.start();
    QCoreApplication::exec();
    return exitCode_;
}

bool MonitorSession::ReadMode() {
    gate::ConnectionState& c = connection_.State();
    gate::Byte mode = commands::kSwitchReadRequest;
    c.LastResult =
        connection_.Library().ModeSwitch(c.ControllerAddress, mode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != 0) {
        const Failure f = ResultFailure(kModeCaption, c.LastResult);
        Note(f.message);
        return false;
    }
    const bool eas = mode != 0;
    if (eas != easMode_) {
        easMode_ = eas;
        c.OperatingMode = mode;
    }
    return true;
}

void MonitorSession::Tick() {
    pollLines_.clear();
    if (easMode_) {
        poller_.PollEASMessage();
    } else {
        poller_.PollChannelMessage();
    }
    AfterPoll();
}

void MonitorSession::AfterPoll() {
    if (!options_.acknowledge && !pollLines_.isEmpty()) {
        if (pollLines_ != lastShown_) {
            for (const auto& [list, line] : pollLines_) {
                WriteLine(list, line);
            }
        }
        lastShown_ = pollLines_;
    }
    if (writeFailed_) {
        Finish(Code(ExitCode::File),
               FileFailure(QStringLiteral("cannot write %1; the message stays in the controller, "
                                          "unacknowledged")
                               .arg(writeError_)));
        return;
    }
    const std::int32_t r = connection_.State().LastResult;
    if (!IsCommunicationResult(r)) {
        backoffMs_ = 0;  // the link carried a poll: a later loss starts the back-off afresh
    }
    if (r == gate::result::kOk) {
        commFailures_ = 0;
        if (lastNotedResult_ != 0) {
            Note(QStringLiteral("polling again"));
            lastNotedResult_ = 0;
        }
        return;
    }
    if (IsCommunicationResult(r)) {
        ++commFailures_;
        if (!connection_.LinkUp() || commFailures_ >= 3) {
            LinkLost(r);
        }
        return;
    }
    if ((r & 0x3F) == gate::result::kWrongMode) {
        const bool wasEas = easMode_;
        if (ReadMode() && wasEas != easMode_) {
            Note(QStringLiteral("the controller is now in %1 mode")
                     .arg(easMode_ ? QStringLiteral("EAS") : QStringLiteral("channel-management")));
            return;
        }
    }
    if (r != lastNotedResult_) {
        Note(ResultFailure(QString::fromUtf8(monitor::kPollCaption), r).message);
        lastNotedResult_ = r;
    }
}

void MonitorSession::LinkLost(std::int32_t result) {
    pollTimer_.stop();
    // A link lost again before any poll of it got a reply does not start the back-off over:
    // one that reopens and drops at once would otherwise be reopened twice a second.
    backoffMs_ =
        backoffMs_ == 0 ? options_.firstBackoffMs : std::min(backoffMs_ * 2, options_.maxBackoffMs);
    Note(QStringLiteral("link lost (%1); reconnecting in %2 ms")
             .arg(ExplainResult(result))
             .arg(backoffMs_));
    reconnectTimer_.start(backoffMs_);
}

void MonitorSession::Reconnect() {
    if (const auto failure = connection_.Reopen()) {
        if (failure->final) {
            Finish(Code(failure->failure.code), failure->failure);
            return;
        }
        backoffMs_ = std::min(backoffMs_ * 2, options_.maxBackoffMs);
        Note(QStringLiteral("%1; next attempt in %2 ms")
                 .arg(failure->failure.message)
                 .arg(backoffMs_));
        reconnectTimer_.start(backoffMs_);
        return;
    }
    if (!ReadMode()) {
        backoffMs_ = std::min(backoffMs_ * 2, options_.maxBackoffMs);
        Note(QStringLiteral("next attempt in %1 ms").arg(backoffMs_));
        reconnectTimer_.start(backoffMs_);
        return;
    }
    Note(QStringLiteral("reconnected to %1").arg(connection_.Link().Describe()));
    commFailures_ = 0;
    lastNotedResult_ = 0;
    pollTimer_.start();
}

void MonitorSession::Finish(int exitCode, const std::optional<Failure>& failure) {
    pollTimer_.stop();
    reconnectTimer_.stop();
    if (failure) {
        Note(failure->message);
    }
    exitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

bool MonitorSession::WriteLine(monitor::MonitorList list, const QString& line) {
    // One clock reading stamps the JSON line and picks the day's file.
    const auto textAt = [&](const QDateTime& at) {
        return options_.jsonLines ? monitor::DisplayLineJson(at, easMode_, list, line) : line;
    };
    const bool written =
        journal_ ? journal_->AppendStamped(textAt) : ConsoleIo::OutLine(textAt(clock_.now()));
    if (!written) {
        writeFailed_ = true;
        if (!journal_) {
            writeError_ = QStringLiteral("standard output");
        }
    }
    return written;
}

void MonitorSession::AppendLine(monitor::MonitorList list, const QString& line) {
    if (!options_.acknowledge) {
        pollLines_.append({list, line});
        return;
    }
    if (!writeFailed_) {
        WriteLine(list, line);
    }
}

std::optional<std::array<gate::Byte, 6>> MonitorSession::LedBuzzerSelection() {
    return options_.ledBuzzer;
}

bool MonitorSession::MayAcknowledge() {
    return options_.acknowledge && !writeFailed_;
}

}  // namespace cli
