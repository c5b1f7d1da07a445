#include "core/monitor/message_poller.h"

#include "core/monitor/channel_decoder.h"
#include "core/monitor/eas_decoder.h"
#include "core/monitor/message_body.h"
#include "core/monitor/message_text.h"

#include <QCoreApplication>

namespace monitor {

namespace {

constexpr gate::Byte kRedLed = 0;

struct Fetched {
    std::int32_t result = 0;
    gate::Byte kind = 0;
    MessageBody body;
};

}  // namespace

void MessagePoller::PollChannelMessage() {
    sink_.ProcessPendingEvents();
    fields_.PollBusy = true;
    auto& c = fields_.connection;
    std::array<gate::Byte, gate::kMessageBufferSize> buffer{};
    gate::Byte length = 0;
    gate::Byte kind = 0;
    c.LastResult = library_.GetChannelMessage(c.ControllerAddress, buffer, length, kind,
                                              c.ReplyStatus, c.PortHandle);
    QString caption = texts_.Text("LiveMessage", kPollCaption);
    if (c.LastResult == gate::result::kOk) {
        const MessageBody body = MessageBody::FromBuffer(buffer, length);
        if (kind == channel_kind::kPassage) {
            if (!HandlePassage(body)) {
                // The lamp and buzzer command failed: its result is what the status bar shows.
                // The same caption and its translation as the command page's own button.
                caption = texts_.Text("DeviceCommands", "控制LED、蜂鸣器");
            }
        } else if (const auto lines = DecodeChannelEvent(kind, body, texts_)) {
            Show(*lines);
            Acknowledge();
        }
    }
    Finish(caption);
}

bool MessagePoller::HandlePassage(const MessageBody& body) {
    sink_.ProcessPendingEvents();
    auto& c = fields_.connection;
    const PassageReport report = DecodePassage(body, texts_);
    const PassageAction action = ClassifyPassage(report, fields_.LastNoPersonText);
    // Every line of the message is shown (and so journalled, or written by gatectl) before the
    // message is acknowledged: once acknowledged the controller deletes it, and whatever
    // happens to the lamp command afterwards must not cost a line.
    switch (action) {
        case PassageAction::ShowNoPerson:
            fields_.LastNoPersonText = kNoPersonUid;
            sink_.AppendLine(MonitorList::ListBox2, NoPersonLine(report, texts_));
            break;
        case PassageAction::Show:
        case PassageAction::ShowAndAlarm:
            sink_.AppendLine(MonitorList::ListBox2, PassageLine(report));
            break;
        case PassageAction::Suppress:
            break;
    }
    if (report.carriesTagData) {
        for (const QString& line : report.tagDataLines) {
            sink_.AppendLine(MonitorList::ListBox7, line);
        }
    }
    sink_.ScrollToNewest(MonitorList::ListBox2);
    sink_.ScrollToNewest(MonitorList::ListBox7);

    // The requests keep their order on the wire: the acknowledgement of the passage, the lamp
    // and buzzer command, the acknowledgement of the tag data.
    if (action != PassageAction::Suppress) {
        Acknowledge();
    }
    if (action == PassageAction::ShowAndAlarm) {
        if (const auto v = sink_.LedBuzzerSelection()) {
            c.LastResult = library_.BuzzerAndLEDControl(c.ControllerAddress, (*v)[0], (*v)[1],
                                                        (*v)[2], (*v)[3], (*v)[4], (*v)[5], kRedLed,
                                                        c.ReplyStatus, c.PortHandle);
            if (c.LastResult != gate::result::kOk) {
                return false;
            }
        }
    }
    if (report.carriesTagData) {
        Acknowledge();
    }
    return true;
}

void MessagePoller::PollEASMessage() {
    fields_.PollBusy = true;
    auto& c = fields_.connection;
    std::array<gate::Byte, gate::kMessageBufferSize> buffer{};
    gate::Byte length = 0;
    gate::Byte kind = 0;
    c.LastResult = library_.GetEASMessage(c.ControllerAddress, buffer, length, kind, c.ReplyStatus,
                                          c.PortHandle);
    // Only a message the console has seen is acknowledged: a failed fetch may have delivered an
    // event whose reply was lost, and acknowledging it would delete it unseen. Unknown kinds are
    // acknowledged so that they never block the queue.
    if (c.LastResult == gate::result::kOk) {
        const MessageBody body = MessageBody::FromBuffer(buffer, length);
        if (const auto lines = DecodeEasMessage(kind, body, fields_.LastNoPersonText, texts_)) {
            Show(*lines);
        }
        Acknowledge();
    }
    Finish(texts_.Text("LiveMessage", kPollCaption));
}

void MessagePoller::Show(const DisplayLines& lines) {
    for (const auto& [list, line] : lines.lines) {
        sink_.AppendLine(list, line);
    }
    for (const MonitorList list : lines.scrolled) {
        sink_.ScrollToNewest(list);
    }
}

void MessagePoller::Acknowledge() {
    if (!sink_.MayAcknowledge()) {
        return;
    }
    // Its result is not looked at: one whose reply was lost is repeated by the library before
    // the next fetch.
    auto& c = fields_.connection;
    library_.Acknowledge(c.ControllerAddress, c.PortHandle);
}

void MessagePoller::Finish(const QString& caption) {
    fields_.PollBusy = false;
    const auto& c = fields_.connection;
    sink_.Report(caption, c.LastResult, c.ReplyStatus);
}

}  // namespace monitor
