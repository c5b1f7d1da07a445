#include "core/monitor/channel_decoder.h"

#include "core/monitor/message_text.h"
#include "util/conversions.h"

#include <QCoreApplication>

namespace monitor {

namespace {

constexpr int kTagDataOffset = 15;
const QString kTagDataIndent = QStringLiteral("          ");

DisplayLines Statistics(const MessageBody& body, const util::TextTable& texts) {
    const QString time = TimeText(body, 8);
    DisplayLines out;
    out.lines.append(
        {MonitorList::ListBox3,
         time % LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "%1人正向 %2人反向 %3方向不定"))
                    .arg(body.Count16(0))
                    .arg(body.Count16(2))
                    .arg(body.Count16(4))});
    out.lines.append({MonitorList::ListBox3,
                      LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "共检测到%1张卡片"))
                          .arg(body.Count16(6))});
    out.scrolled = {MonitorList::ListBox3};
    return out;
}

DisplayLines TagTimeout(const MessageBody& body, const util::TextTable& texts) {
    const QString time = TimeText(body, 8);
    DisplayLines out;
    out.lines.append(
        {MonitorList::ListBox5, time % SpacedUidText(body, 0) %
                                    LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", " 超时"))});
    if ((body.At(14) & 0x0F) == 3) {
        for (const QString& line : TagDataLines(time, PlainUidText(body, 0), body)) {
            out.lines.append({MonitorList::ListBox7, line});
        }
    }
    out.scrolled = {MonitorList::ListBox5, MonitorList::ListBox7};
    return out;
}

}  // namespace

PassageReport DecodePassage(const MessageBody& body, const util::TextTable& texts) {
    PassageReport r;
    r.plainUid = PlainUidText(body, 0);
    r.spacedUid = SpacedUidText(body, 0);
    r.direction = DirectionText(body.At(8), texts);
    r.infraredOff = (body.At(8) & 0x0F) == kInfraredOffDirection;
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
    if (report.plainUid == kNeverAlarmedUid || report.infraredOff) {
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

QString NoPersonLine(const PassageReport& report, const util::TextTable& texts) {
    return report.timeText % LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", "  无人"));
}

QStringList TagDataLines(const QString& timeText, const QString& plainUid,
                         const MessageBody& body) {
    return {timeText % u' ' % plainUid,
            kTagDataIndent % util::BytesToHex(body.Tail(kTagDataOffset))};
}

std::optional<DisplayLines> DecodeChannelEvent(int kind, const MessageBody& body,
                                               const util::TextTable& texts) {
    switch (kind) {
        case channel_kind::kStatistics:
            return Statistics(body, texts);
        case channel_kind::kTagTimeout:
            return TagTimeout(body, texts);
        case channel_kind::kPassageTimeout:
            return TimeOnlyLines(MonitorList::ListBox4, body,
                                 LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", " 通过超时")));
        case channel_kind::kInfraredAlarm:
            return TimeOnlyLines(
                MonitorList::ListBox6, body,
                LiveWords(texts, QT_TRANSLATE_NOOP("LiveMessage", " 红外探测报警")));
        default:
            return std::nullopt;
    }
}

}  // namespace monitor
