#include "core/monitor/eas_decoder.h"

#include "core/monitor/message_text.h"

namespace monitor {

namespace {

DisplayLines Regular(const MessageBody& body, QString& lastNoPersonText) {
    const QString status = EasStatusText(body.At(0));
    const QString time = TimeText(body, 1);
    DisplayLines out;
    if (status == kEasNoPersonText) {
        if (lastNoPersonText != status) {
            lastNoPersonText = status;
            out.lines.append({MonitorList::Lst1, time % u"   无人"});
        }
    } else {
        out.lines.append({MonitorList::Lst1, time % u"   " % status});
    }
    out.scrolled = {MonitorList::Lst1};
    return out;
}

DisplayLines Statistics(const MessageBody& body) {
    DisplayLines out;
    out.lines.append({MonitorList::Lst2, TimeText(body, 6) % u"   " %
                                             QString::number(body.Count16(0)) % u"人正向 " %
                                             QString::number(body.Count16(2)) % u"人反向 " %
                                             QString::number(body.Count16(4)) % u"方向不定"});
    out.scrolled = {MonitorList::Lst2};
    return out;
}

DisplayLines TimeOnly(MonitorList list, const MessageBody& body, const QString& suffix) {
    DisplayLines out;
    out.lines.append({list, TimeText(body, 0) % suffix});
    out.scrolled = {list};
    return out;
}

}  // namespace

std::optional<DisplayLines> DecodeEasMessage(int kind, const MessageBody& body,
                                             QString& lastNoPersonText) {
    switch (kind) {
        case eas_kind::kRegular:
            return Regular(body, lastNoPersonText);
        case eas_kind::kStatistics:
            return Statistics(body);
        case eas_kind::kPassageTimeout:
            return TimeOnly(MonitorList::Lst3, body, QStringLiteral("   通过超时"));
        case eas_kind::kInfraredAlarm:
            return TimeOnly(MonitorList::Lst4, body, QStringLiteral("   红外探测报警"));
        default:
            return std::nullopt;
    }
}

}  // namespace monitor
