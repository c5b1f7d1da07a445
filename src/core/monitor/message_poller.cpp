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
    if (c.LastResult == gate::result::kOk) {
        const MessageBody body = MessageBody::FromBuffer(buffer, length);
        if (kind == channel_kind::kPassage) {
            if (!HandlePassage(body)) {
                fields_.PollBusy = false;
                return;
            }
        } else if (const auto lines = DecodeChannelEvent(kind, body, texts_)) {
            Show(*lines);
            Acknowledge();
        }
    }
    Finish();
}

bool MessagePoller::HandlePassage(const MessageBody& body) {
    sink_.ProcessPendingEvents();
    auto& c = fields_.connection;
    const PassageReport report = DecodePassage(body, texts_);
    switch (ClassifyPassage(report, fields_.LastNoPersonText)) {
        case PassageAction::ShowNoPerson:
            fields_.LastNoPersonText = kNoPersonUid;
            sink_.AppendLine(MonitorList::ListBox2, NoPersonLine(report, texts_));
            Acknowledge();
            break;
        case PassageAction::Show:
            sink_.AppendLine(MonitorList::ListBox2, PassageLine(report));
            Acknowledge();
            break;
        case PassageAction::Suppress:
            break;
        case PassageAction::ShowAndAlarm: {
            sink_.AppendLine(MonitorList::ListBox2, PassageLine(report));
            Acknowledge();
            const auto v = sink_.LedBuzzerSelection();
            if (!v) {
                break;
            }
            c.LastResult = library_.BuzzerAndLEDControl(c.ControllerAddress, (*v)[0], (*v)[1],
                                                        (*v)[2], (*v)[3], (*v)[4], (*v)[5], kRedLed,
                                                        c.ReplyStatus, c.PortHandle);
            if (c.LastResult != gate::result::kOk) {
                return false;
            }
            break;
        }
    }
    if (report.carriesTagData) {
        for (const QString& line : report.tagDataLines) {
            sink_.AppendLine(MonitorList::ListBox7, line);
        }
        Acknowledge();
    }
    sink_.ScrollToNewest(MonitorList::ListBox2);
    sink_.ScrollToNewest(MonitorList::ListBox7);
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
    Finish();
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
    auto& c = fields_.connection;
    sink_.Acknowledged(library_.Acknowledge(c.ControllerAddress, c.PortHandle));
}

void MessagePoller::Finish() {
    fields_.PollBusy = false;
    const auto& c = fields_.connection;
    sink_.Report(texts_.Text("LiveMessage", kPollCaption), c.LastResult, c.ReplyStatus);
}

}  // namespace monitor
