#include "core/records/record_fields.h"

#include "core/records/record_text.h"
#include "util/conversions.h"

namespace records {

QString DirectionToken(gate::Byte passage) {
    switch (passage) {
        case 1:
            return QStringLiteral("forward");
        case 2:
            return QStringLiteral("reverse");
        case 3:
            return QStringLiteral("undetermined");
        case kInfraredOffPassage:
            return QStringLiteral("infrared_off");
        default:
            return {};
    }
}

QString IsoTimeText(const gate::Clock6& time) {
    // The console's time text without its trailing space, with the ISO separator.
    QString text = TimeText(time).trimmed();
    text.replace(u' ', u'T');
    return text;
}

RecordFields FieldsOf(const StoredRecord& r) {
    RecordFields f;
    const auto bytes = r.Bytes();
    f.body = util::BytesToHex(QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size())));
    if (r.Length() == 0) {
        return f;
    }
    switch (r.Kind()) {
        case kind::kPassage:
            f.event = QStringLiteral("passage");
            f.time = IsoTimeText(r.TimeAt(9));
            f.uid = UidText(r.UidAt(0));
            f.direction =
                r.IsNoPerson() ? QStringLiteral("no_person") : DirectionToken(r.PassageByte());
            break;
        case kind::kStatistics:
            f.event = QStringLiteral("statistics");
            f.time = IsoTimeText(r.TimeAt(8));
            f.forward = r.Count16At(0);
            f.reverse = r.Count16At(2);
            f.undetermined = r.Count16At(4);
            f.tags = r.Count16At(6);
            break;
        case kind::kTagTimeout:
            f.event = QStringLiteral("tag_timeout");
            f.time = IsoTimeText(r.TimeAt(8));
            f.uid = UidText(r.UidAt(0));
            break;
        case kind::kPassageTimeout:
            f.event = QStringLiteral("passage_timeout");
            f.time = IsoTimeText(r.TimeAt(0));
            break;
        case kind::kInfraredAlarm:
            f.event = QStringLiteral("infrared_alarm");
            f.time = IsoTimeText(r.TimeAt(0));
            break;
        case kind::kClockSet:
            f.event = QStringLiteral("clock_set");
            f.clockBefore = IsoTimeText(r.TimeAt(0));
            f.clockAfter = IsoTimeText(r.TimeAt(6));
            f.time = f.clockAfter;  // the time the log state reports for this record
            break;
        default:
            break;
    }
    return f;
}

}  // namespace records
