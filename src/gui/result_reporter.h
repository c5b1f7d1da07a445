#pragma once

#include <QString>

#include <cstdint>

namespace util {
class Clock;
}

namespace gui {

class GateStatusBar;

// Writes command results and the record-memory state into the status bar.
class ResultReporter {
public:
    ResultReporter(GateStatusBar& bar, const util::Clock& clock) : bar_(bar), clock_(clock) {}

    // Empties panels 0 and 1, then writes the result line into panel 0.
    void ShowCommandResult(const QString& caption, std::uint8_t result);

    // Panel 1 := the text of the reply status; values outside 0 to 3 empty it.
    void ShowReplyStatus(std::uint8_t status);

    // The usual ending of a command handler: the result line, panel 1 emptied, and the reply
    // status when the call succeeded.
    void Report(const QString& caption, std::int32_t result, std::uint8_t replyStatus);

    // Report for a request that changes the controller (a delete, a settings write): a
    // communication error reads "may have run" (util::ChangeResultLine).
    void ReportChange(const QString& caption, std::int32_t result, std::uint8_t replyStatus);

    // A line of its own in panel 0 (the option switches' stamped lines, export progress).
    void ShowText(const QString& text);

    // Empties panels 0 and 1.
    void ClearResult();

    const util::Clock& Clock() const { return clock_; }
    GateStatusBar& Bar() { return bar_; }

private:
    GateStatusBar& bar_;
    const util::Clock& clock_;
};

}  // namespace gui
