#include "core/monitor/eas_decoder.h"

#include "core/monitor/message_text.h"

#include <QCoreApplication>

namespace monitor {

namespace {

DisplayLines Regular(const MessageBody& body, QString& lastNoPersonText,
                     const util::TextTable& texts) {
    const QString time = TimeText(body, 1);
    DisplayLines out;
    if (body.At(0) == kEasNoPersonStatus) {
        const QString marker = EasStatusText(kEasNoPersonStatus, util::TextTable::Source());
        if (lastNoPersonText != marker) {
            lastNoPersonText = marker;
            out.lines.append(
                {MonitorList::Lst1,
                 time % LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "   无人"))});
        }
    } else {
        out.lines.append({MonitorList::Lst1, time % u"   " % EasStatusText(body.At(0), texts)});
    }
    out.scrolled = {MonitorList::Lst1};
    return out;
}

DisplayLines Statistics(const MessageBody& body, const util::TextTable& texts) {
    DisplayLines out;
    out.lines.append(
        {MonitorList::Lst2,
         TimeText(body, 6) % u"   " %
             LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "%1人正向 %2人反向 %3方向不定"))
                 .arg(body.Count16(0))
                 .arg(body.Count16(2))
                 .arg(body.Count16(4))});
    out.scrolled = {MonitorList::Lst2};
    return out;
}

}  // namespace

std::optional<DisplayLines> DecodeEasMessage(int kind, const MessageBody& body,
                                             QString& lastNoPersonText,
                                             const util::TextTable& texts) {
    switch (kind) {
        case eas_kind::kRegular:
            return Regular(body, lastNoPersonText, texts);
        case eas_kind::kStatistics:
            return Statistics(body, texts);
        case eas_kind::kPassageTimeout:
            return TimeOnlyLines(MonitorList::Lst3, body,
                                 LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "   通过超时")));
        case eas_kind::kInfraredAlarm:
            return TimeOnlyLines(
                MonitorList::Lst4, body,
                LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "   红外探测报警")));
        default:
            return std::nullopt;
    }
}

}  // namespace monitor
