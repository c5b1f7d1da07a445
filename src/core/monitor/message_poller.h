#pragma once

#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"
#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <QString>

#include "util/text_table.h"

#include <array>
#include <cstdint>
#include <optional>

namespace monitor {

// Where a poll puts its results; the main window's monitoring controller implements it over the
// list widgets, the combo boxes and the status bar.
class PollSink {
public:
    virtual ~PollSink() = default;
    virtual void AppendLine(MonitorList list, const QString& line) = 0;
    // Scrolls the list towards its newest line (nothing when it is empty).
    virtual void ScrollToNewest(MonitorList list) = 0;
    // Lets the window handle pending events in the middle of a poll.
    virtual void ProcessPendingEvents() = 0;
    // Selected indexes of the LED and buzzer lists: buzzer on, buzzer off, beep count, LED on,
    // LED off, flash count. Nothing when a tagged passage should not drive the lamp and buzzer.
    virtual std::optional<std::array<gate::Byte, 6>> LedBuzzerSelection() = 0;
    // The status report: result line, record-memory panel.
    virtual void Report(const QString& caption, std::int32_t result, gate::Byte replyStatus) = 0;
    // Whether the poll may acknowledge what it has shown: a sink that could not keep a line, or
    // that only watches, says no, and the controller keeps the message.
    virtual bool MayAcknowledge() { return true; }
};

// The fields a poll reads and writes: the connection, the busy flag that keeps polls from
// nesting, and the marker of the last no-person line, shared by both poll modes.
struct PollFields {
    gate::ConnectionState& connection;
    bool& PollBusy;
    QString& LastNoPersonText;
};

// The caption of a poll's status report, a source text (see MessagePoller).
inline constexpr char kPollCaption[] = QT_TRANSLATE_NOOP("LiveMessage", "获取命令");

// One fetch of a live message per call, in channel-management or EAS mode. PollBusy is set for
// the whole poll and cleared on every path. The lines and the report caption come from `texts`:
// the windows show them in their language, gatectl keeps the source texts.
class MessagePoller {
public:
    MessagePoller(gate::GateLibrary& library, PollFields fields, PollSink& sink,
                  const util::TextTable& texts)
        : library_(library), fields_(fields), sink_(sink), texts_(texts) {}

    void PollChannelMessage();
    void PollEASMessage();

private:
    // Kind 0; false when the LED and buzzer command failed (its result is in LastResult and
    // the tag data is not acknowledged a second time).
    bool HandlePassage(const MessageBody& body);
    void Show(const DisplayLines& lines);
    void Acknowledge();
    // Clears PollBusy and reports LastResult under caption.
    void Finish(const QString& caption);

    gate::GateLibrary& library_;
    PollFields fields_;
    PollSink& sink_;
    const util::TextTable& texts_;
};

}  // namespace monitor
