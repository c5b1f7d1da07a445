#include "core/monitor/channel_decoder.h"

#include "core/monitor/message_text.h"
#include "util/conversions.h"

namespace monitor {

namespace {

constexpr int kTagDataOffset = 15;
const QString kTagDataIndent = QStringLiteral("          ");

DisplayLines Statistics(const MessageBody& body) {
    const QString time = TimeText(body, 8);
    DisplayLines out;
    out.lines.append({MonitorList::ListBox3, time % QString::number(body.Count16(0)) % u"人正向 " %
                                                 QString::number(body.Count16(2)) % u"人反向 " %
                                                 QString::number(body.Count16(4)) % u"方向不定"});
    out.lines.append(
        {MonitorList::ListBox3, u"共检测到" % QString::number(body.Count16(6)) % u"张卡片"});
    out.scrolled = {MonitorList::ListBox3};
    return out;
}

DisplayLines TagTimeout(const MessageBody& body) {
    const QString time = TimeText(body, 8);
    DisplayLines out;
    out.lines.append({MonitorList::ListBox5, time % SpacedUidText(body, 0) % u" 超时"});
    if ((body.At(14) & 0x0F) == 3) {
        for (const QString& line : TagDataLines(time, PlainUidText(body, 0), body)) {
            out.lines.append({MonitorList::ListBox7, line});
        }
    }
    out.scrolled = {MonitorList::ListBox5, MonitorList::ListBox7};
    return out;
}

DisplayLines TimeOnly(MonitorList list, const MessageBody& body, const QString& suffix) {
    DisplayLines out;
    out.lines.append({list, TimeText(body, 0) % suffix});
    out.scrolled = {list};
    return out;
}

}  // namespace

PassageReport DecodePassage(const MessageBody& body) {
    PassageReport r;
    r.plainUid = PlainUidText(body, 0);
    r.spacedUid = SpacedUidText(body, 0);
    r.direction = DirectionText(body.At(8));
    r.timeText = TimeText(body, 9);
    r.carriesTagData = (body.At(8) & 0xF0) == 0x30;
    if (r.carriesTagData) {
        r.tagDataLines = TagDataLines(r.timeText, r.plainUid, body);
    }
    return r;
}

PassageAction ClassifyPassage(const PassageReport& report, const QString& lastNoPersonText) {
    const bool noPerson = report.plainUid == kNoPersonUid;
    if (noPerson && lastNoPersonText != kNoPersonUid) {
        return PassageAction::ShowNoPerson;
    }
    if (report.plainUid == kNeverAlarmedUid || report.direction == kInfraredOffText) {
        return PassageAction::Show;
    }
    if (noPerson) {
        return PassageAction::Suppress;
    }
    return PassageAction::ShowAndAlarm;
}

QString PassageLine(const PassageReport& report) {
    return report.timeText % u' ' % report.spacedUid % u' ' % report.direction;
}

QString NoPersonLine(const PassageReport& report) {
    return report.timeText % u"  无人";
}

QStringList TagDataLines(const QString& timeText, const QString& plainUid,
                         const MessageBody& body) {
    return {timeText % u' ' % plainUid,
            kTagDataIndent % util::BytesToHex(body.Tail(kTagDataOffset))};
}

std::optional<DisplayLines> DecodeChannelEvent(int kind, const MessageBody& body) {
    switch (kind) {
        case channel_kind::kStatistics:
            return Statistics(body);
        case channel_kind::kTagTimeout:
            return TagTimeout(body);
        case channel_kind::kPassageTimeout:
            return TimeOnly(MonitorList::ListBox4, body, QStringLiteral(" 通过超时"));
        case channel_kind::kInfraredAlarm:
            return TimeOnly(MonitorList::ListBox6, body, QStringLiteral(" 红外探测报警"));
        default:
            return std::nullopt;
    }
}

}  // namespace monitor
