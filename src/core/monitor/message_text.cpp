#include "core/monitor/message_text.h"

#include "util/conversions.h"
#include "util/event_text.h"

#include <QCoreApplication>

namespace monitor {

QString TimeText(const MessageBody& body, int offset) {
    std::uint8_t t[6];
    for (int i = 0; i < 6; ++i) {
        t[i] = body.At(offset + i);
    }
    return util::EventTimeText(t);
}

QString PlainUidText(const MessageBody& body, int offset) {
    return util::BytesToHex(body.Slice(offset, 8));
}

QString SpacedUidText(const MessageBody& body, int offset) {
    return util::SpacedHexText(body.Slice(offset, 8));
}

// A live message gives the direction in the low four bits of its passage byte.
QString DirectionText(std::uint8_t passageByte, const util::TextTable& texts) {
    return util::DirectionText(passageByte & 0x0F, texts);
}

QString EasStatusText(std::uint8_t status, const util::TextTable& texts) {
    const auto text = [&texts](const char* source) { return texts.Text("LiveMessage", source); };
    switch (status) {
        case kEasNoPersonStatus:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "无人无EAS报警"));
        case 1:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "有人正向通过"));
        case 2:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "有人反向通过"));
        case 3:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "有人通过但方向不明"));
        case 4:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "红外打开有EAS报警"));
        case 5:
            return text(QT_TRANSLATE_NOOP("LiveMessage", "红外已关闭有EAS报警"));
        default:
            return {};
    }
}

QString LiveWords(const util::TextTable& texts, const char* source) {
    return texts.Text("LiveMessage", source);
}

DisplayLines TimeOnlyLines(MonitorList list, const MessageBody& body, const QString& suffix) {
    DisplayLines out;
    out.lines.append({list, TimeText(body, 0) % suffix});
    out.scrolled = {list};
    return out;
}

}  // namespace monitor
