// Channel-management and EAS message decoding: byte 0 is the message kind, byte 1 the length
// the library declared, the rest the bytes it filled (cut to its 47-byte buffer). Whatever the
// kind and length, decoding stays inside the body, gives lines for known kinds only, and the
// tag-data hex is exactly the bytes from offset 15 to the end of the body.
#include "core/monitor/channel_decoder.h"
#include "core/monitor/eas_decoder.h"
#include "core/monitor/message_text.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"
#include "gate/gate_library.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using monitor::MessageBody;
using monitor::MonitorList;

namespace {

constexpr int kTagDataOffset = 15;
const QString kIndent = QStringLiteral("          ");

int TagDataHexLength(const MessageBody& body) {
    return 2 * std::max(0, body.Size() - kTagDataOffset);
}

void CheckTagDataLine(const QString& line, const MessageBody& body) {
    FUZZ_CHECK(line.startsWith(kIndent));
    FUZZ_CHECK(line.size() - kIndent.size() == TagDataHexLength(body));
}

// Every line goes to a list that is scrolled afterwards, and no line is empty.
void CheckDisplay(const monitor::DisplayLines& out) {
    FUZZ_CHECK(!out.lines.isEmpty());
    for (const auto& [list, text] : out.lines) {
        FUZZ_CHECK(out.scrolled.contains(list));
        FUZZ_CHECK(!text.isEmpty());
    }
}

void CheckChannel(int kind, const MessageBody& body) {
    const auto event = monitor::DecodeChannelEvent(kind, body, util::TextTable::Source());
    FUZZ_CHECK(event.has_value() == (kind >= 1 && kind <= 4));
    if (event) {
        CheckDisplay(*event);
        for (const auto& [list, text] : event->lines) {
            if (list == MonitorList::ListBox7 && text.startsWith(kIndent)) {
                CheckTagDataLine(text, body);
            }
        }
    }

    const monitor::PassageReport report = monitor::DecodePassage(body, util::TextTable::Source());
    FUZZ_CHECK(report.plainUid.size() == 16);
    FUZZ_CHECK(report.spacedUid.size() == 23);
    FUZZ_CHECK(report.timeText.startsWith(u"20") && report.timeText.endsWith(u' '));
    FUZZ_CHECK(report.carriesTagData == (report.tagDataLines.size() == 2));
    if (report.carriesTagData) {
        FUZZ_CHECK(report.tagDataLines[0] == report.timeText % u' ' % report.plainUid);
        CheckTagDataLine(report.tagDataLines[1], body);
    }
    FUZZ_CHECK(monitor::PassageLine(report).startsWith(report.timeText));
    FUZZ_CHECK(
        monitor::NoPersonLine(report, util::TextTable::Source()).startsWith(report.timeText));

    // A repeated no-person report is the only one that is held back, once its line has been
    // shown and unless the infrared detection is off.
    const auto first = monitor::ClassifyPassage(report, QString());
    FUZZ_CHECK(first != monitor::PassageAction::Suppress);
    const auto repeated = monitor::ClassifyPassage(report, monitor::kNoPersonUid);
    if (first == monitor::PassageAction::ShowNoPerson) {
        FUZZ_CHECK(repeated == (report.infraredOff ? monitor::PassageAction::Show
                                                   : monitor::PassageAction::Suppress));
    } else {
        FUZZ_CHECK(repeated == first);
    }
}

void CheckEas(int kind, const MessageBody& body) {
    QString marker;
    const auto first = monitor::DecodeEasMessage(kind, body, marker, util::TextTable::Source());
    const bool known = kind == 0x00 || kind == 0x20 || kind == 0x21 || kind == 0x22;
    FUZZ_CHECK(first.has_value() == known);
    if (!first) {
        FUZZ_CHECK(marker.isEmpty());
        return;
    }
    CheckDisplay(*first);
    // The same message again: only a no-person event goes quiet, and it sets the marker.
    const QString before = marker;
    const auto again = monitor::DecodeEasMessage(kind, body, marker, util::TextTable::Source());
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(marker == before);
    if (!before.isEmpty()) {
        FUZZ_CHECK(before == QStringLiteral("无人无EAS报警"));
        FUZZ_CHECK(again->lines.isEmpty());
    } else {
        FUZZ_CHECK(*again == *first);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int kind = data[0];
    const int declared = data[1];
    // What the library filled: never more than its buffer.
    const std::size_t filled = std::min<std::size_t>(size - 2, gate::kMessageBufferSize);
    const auto bytes = ExactCopy(data + 2, filled);
    const MessageBody body =
        MessageBody::FromBuffer(std::span<const gate::Byte>(bytes.get(), filled), declared);
    FUZZ_CHECK(body.Size() == std::min<int>(declared, static_cast<int>(filled)));
    FUZZ_CHECK(body.Size() <= gate::kMessageBufferSize);
    FUZZ_CHECK(body.Tail(kTagDataOffset).size() == std::max(0, body.Size() - kTagDataOffset));
    FUZZ_CHECK(body.At(body.Size()) == 0 && body.At(-1) == 0);

    CheckChannel(kind, body);
    CheckEas(kind, body);
    return 0;
}
