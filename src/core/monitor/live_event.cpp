#include "core/monitor/live_event.h"

#include "core/monitor/channel_decoder.h"
#include "core/monitor/eas_decoder.h"
#include "core/monitor/message_text.h"
#include "core/records/record_fields.h"
#include "util/conversions.h"

#include <QDate>
#include <QJsonArray>
#include <QTime>

namespace monitor {

namespace {

constexpr int kTagDataOffset = 15;
constexpr int kEasAlarmStatus = 4;
constexpr int kEasAlarmInfraredOffStatus = 5;

bool AllZero(const MessageBody& body, int offset, int count) {
    for (int i = offset; i < offset + count; ++i) {
        if (body.At(i) != 0) {
            return false;
        }
    }
    return true;
}

// Where the controller's six time bytes start for a kind; -1 for a kind without a time.
int TimeOffset(bool easMode, int kind) {
    if (easMode) {
        switch (kind) {
            case eas_kind::kRegular:
                return 1;
            case eas_kind::kStatistics:
                return 6;
            case eas_kind::kPassageTimeout:
            case eas_kind::kInfraredAlarm:
                return 0;
            default:
                return -1;
        }
    }
    switch (kind) {
        case channel_kind::kPassage:
            return 9;
        case channel_kind::kStatistics:
        case channel_kind::kTagTimeout:
            return 8;
        case channel_kind::kPassageTimeout:
        case channel_kind::kInfraredAlarm:
            return 0;
        default:
            return -1;
    }
}

void PutTime(QJsonObject& o, const MessageBody& body, int offset) {
    // "time" null always comes with "time_raw": the six bytes, or null for a kind whose time
    // has no known place.
    if (offset < 0) {
        o.insert(QStringLiteral("time"), QJsonValue::Null);
        o.insert(QStringLiteral("time_raw"), QJsonValue::Null);
        return;
    }
    const int y = body.At(offset), mo = body.At(offset + 1), d = body.At(offset + 2);
    const int h = body.At(offset + 3), mi = body.At(offset + 4), s = body.At(offset + 5);
    const QDate date(2000 + y, mo, d);
    const QTime time(h, mi, s);
    if (y < 100 && date.isValid() && time.isValid()) {
        o.insert(QStringLiteral("time"),
                 QDateTime(date, time).toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
        return;
    }
    o.insert(QStringLiteral("time"), QJsonValue::Null);
    o.insert(QStringLiteral("time_raw"), util::BytesToHex(body.Slice(offset, 6)));
}

void PutCounts(QJsonObject& o, const MessageBody& body, bool withTags) {
    o.insert(QStringLiteral("forward"), body.Count16(0));
    o.insert(QStringLiteral("reverse"), body.Count16(2));
    o.insert(QStringLiteral("undetermined"), body.Count16(4));
    if (withTags) {
        o.insert(QStringLiteral("tags"), body.Count16(6));
    }
}

void PutTagData(QJsonObject& o, const MessageBody& body) {
    o.insert(QStringLiteral("tag_data"), util::BytesToHex(body.Tail(kTagDataOffset)));
}

void PutChannelFields(QJsonObject& o, int kind, const MessageBody& body) {
    switch (kind) {
        case channel_kind::kPassage: {
            o.insert(QStringLiteral("uid"), PlainUidText(body, 0));
            const QString direction = AllZero(body, 0, 8)
                                          ? QStringLiteral("no_person")
                                          : records::DirectionToken(body.At(8) & 0x0F);
            if (!direction.isEmpty()) {
                o.insert(QStringLiteral("direction"), direction);
            }
            if ((body.At(8) & 0xF0) == 0x30) {
                PutTagData(o, body);
            }
            break;
        }
        case channel_kind::kStatistics:
            PutCounts(o, body, true);
            break;
        case channel_kind::kTagTimeout:
            o.insert(QStringLiteral("uid"), PlainUidText(body, 0));
            if ((body.At(14) & 0x0F) == 3) {
                PutTagData(o, body);
            }
            break;
        default:
            break;
    }
}

void PutEasFields(QJsonObject& o, int kind, const MessageBody& body) {
    if (kind == eas_kind::kStatistics) {
        PutCounts(o, body, false);
    } else if (kind == eas_kind::kRegular) {
        const int status = body.At(0);
        o.insert(QStringLiteral("status"), status);
        QString direction;
        if (status == kEasNoPersonStatus) {
            direction = QStringLiteral("no_person");
        } else if (status >= 1 && status <= 3) {
            direction = records::DirectionToken(status);
        } else if (status == kEasAlarmInfraredOffStatus) {
            direction = QStringLiteral("infrared_off");
        }
        if (!direction.isEmpty()) {
            o.insert(QStringLiteral("direction"), direction);
        }
    }
}

}  // namespace

QString LiveEventName(bool easMode, int kind, const MessageBody& body) {
    if (easMode) {
        switch (kind) {
            case eas_kind::kRegular: {
                const int status = body.At(0);
                if (status == kEasNoPersonStatus) {
                    return QStringLiteral("no_person");
                }
                if (status >= 1 && status <= 3) {
                    return QStringLiteral("passage");
                }
                if (status == kEasAlarmStatus || status == kEasAlarmInfraredOffStatus) {
                    return QStringLiteral("eas_alarm");
                }
                return QStringLiteral("unknown");
            }
            case eas_kind::kStatistics:
                return QStringLiteral("statistics");
            case eas_kind::kPassageTimeout:
                return QStringLiteral("passage_timeout");
            case eas_kind::kInfraredAlarm:
                return QStringLiteral("infrared_alarm");
            default:
                return QStringLiteral("unknown");
        }
    }
    switch (kind) {
        case channel_kind::kPassage:
            return AllZero(body, 0, 8) ? QStringLiteral("no_person") : QStringLiteral("passage");
        case channel_kind::kStatistics:
            return QStringLiteral("statistics");
        case channel_kind::kTagTimeout:
            return QStringLiteral("tag_timeout");
        case channel_kind::kPassageTimeout:
            return QStringLiteral("passage_timeout");
        case channel_kind::kInfraredAlarm:
            return QStringLiteral("infrared_alarm");
        default:
            return QStringLiteral("unknown");
    }
}

bool IsEasAlarm(bool easMode, int kind, const MessageBody& body) {
    return easMode && kind == eas_kind::kRegular &&
           (body.At(0) == kEasAlarmStatus || body.At(0) == kEasAlarmInfraredOffStatus);
}

DisplayLines LiveMessageLines(bool easMode, int kind, const MessageBody& body,
                              QString& lastNoPersonText, const util::TextTable& texts) {
    if (easMode) {
        return DecodeEasMessage(kind, body, lastNoPersonText, texts).value_or(DisplayLines{});
    }
    if (kind != channel_kind::kPassage) {
        return DecodeChannelEvent(kind, body, texts).value_or(DisplayLines{});
    }
    // A passage as the console's poll shows it: its line (none for a repeated no-person
    // report), then the tag-data lines of a tagged passage.
    const PassageReport report = DecodePassage(body, texts);
    DisplayLines out;
    switch (ClassifyPassage(report, lastNoPersonText)) {
        case PassageAction::ShowNoPerson:
            lastNoPersonText = kNoPersonUid;
            out.lines.append({MonitorList::ListBox2, NoPersonLine(report, texts)});
            break;
        case PassageAction::Show:
        case PassageAction::ShowAndAlarm:
            out.lines.append({MonitorList::ListBox2, PassageLine(report)});
            break;
        case PassageAction::Suppress:
            break;
    }
    if (report.carriesTagData) {
        for (const QString& line : report.tagDataLines) {
            out.lines.append({MonitorList::ListBox7, line});
        }
    }
    out.scrolled = {MonitorList::ListBox2, MonitorList::ListBox7};
    return out;
}

bool DrivesLampAndBuzzer(bool easMode, int kind, const MessageBody& body,
                         const QString& lastNoPersonTextBefore) {
    if (easMode || kind != channel_kind::kPassage) {
        return false;
    }
    const PassageReport report = DecodePassage(body, util::TextTable::Source());
    return ClassifyPassage(report, lastNoPersonTextBefore) == PassageAction::ShowAndAlarm;
}

LiveEventInput FetchedEventInput(const QString& gate, bool easMode, int kind,
                                 const MessageBody& body, QString& lastNoPersonText) {
    LiveEventInput in;
    in.gate = gate;
    in.easMode = easMode;
    in.kind = kind;
    in.body = body;
    in.received = QDateTime::currentDateTime();
    in.lines = LiveMessageLines(easMode, kind, body, lastNoPersonText, util::TextTable::Source());
    return in;
}

QJsonObject LiveEventObject(const LiveEventInput& in) {
    QJsonObject o;
    o.insert(QStringLiteral("gate"), in.gate);
    o.insert(QStringLiteral("id"), in.id);
    o.insert(QStringLiteral("mode"),
             in.easMode ? QStringLiteral("eas") : QStringLiteral("channel"));
    o.insert(QStringLiteral("event"), LiveEventName(in.easMode, in.kind, in.body));
    o.insert(QStringLiteral("alarm"), IsEasAlarm(in.easMode, in.kind, in.body));
    o.insert(QStringLiteral("kind"), in.kind);
    PutTime(o, in.body, TimeOffset(in.easMode, in.kind));
    o.insert(QStringLiteral("received"),
             in.received.toOffsetFromUtc(in.received.offsetFromUtc()).toString(Qt::ISODateWithMs));
    if (in.easMode) {
        PutEasFields(o, in.kind, in.body);
    } else {
        PutChannelFields(o, in.kind, in.body);
    }
    QJsonArray lines;
    for (const auto& [list, text] : in.lines.lines) {
        lines.append(QJsonObject{{QStringLiteral("list"), ListObjectName(list)},
                                 {QStringLiteral("text"), text}});
    }
    o.insert(QStringLiteral("lines"), lines);
    o.insert(QStringLiteral("body"), util::BytesToHex(in.body.Bytes()));
    return o;
}

}  // namespace monitor
