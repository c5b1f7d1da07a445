#include "core/records/record_lines.h"

#include "core/records/record_text.h"

namespace records {

namespace {

QString IndexPrefix(std::int32_t index) {
    return u'第' % QString::number(index) % QStringLiteral("条记录    ");
}

bool HasAllFFUid(const StoredRecord& r) {
    return UidText(r.UidAt(0)) == QStringLiteral("FFFFFFFFFFFFFFFF");
}

QString Count(const StoredRecord& r, int offset) {
    return QString::number(r.Count16At(offset));
}

// Kind 8, the same in both retrievals.
QString ClockSetText(const StoredRecord& r) {
    return QStringLiteral("设置实时时钟") % QStringLiteral("设置前时钟:  ") %
           TimeText(r.TimeAt(0)) % QStringLiteral("  ") % QStringLiteral("设置后时钟:  ") %
           TimeText(r.TimeAt(6));
}

bool HasLine(const StoredRecord& r) {
    return r.Length() > 0 && r.IsShownKind();
}

}  // namespace

namespace {

// Kinds 2, 3, 4 and 8 read the same after the prefix in both retrieval formats.
QString RetrievalTail(const StoredRecord& r) {
    switch (r.Kind()) {
        case kind::kTagTimeout:
            return TimeText(r.TimeAt(8)) % SpacedUidText(r.UidAt(0)) % QStringLiteral(" 超时");
        case kind::kPassageTimeout:
            return TimeText(r.TimeAt(0)) % QStringLiteral(" 通过超时");
        case kind::kInfraredAlarm:
            return TimeText(r.TimeAt(0)) % QStringLiteral(" 红外探测报警");
        default:  // kind::kClockSet
            return ClockSetText(r);
    }
}

}  // namespace

QString EarliestRecordLine(const StoredRecord& r) {
    if (!HasLine(r)) {
        return {};
    }
    const QString p = QStringLiteral("第1条记录    ");
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % QStringLiteral("  无人");
            }
            const QString u = SpacedUidText(r.UidAt(0));
            const QString d = DirectionText(r.PassageByte());
            if (HasAllFFUid(r)) {
                return p % t % u' ' % u % u' ' % d;
            }
            if (r.PassageByte() == kInfraredOffPassage) {
                return p % t % u % QStringLiteral("  红外已关闭");
            }
            return p % t % u % QStringLiteral("  ") % d;
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) % Count(r, 0) % QStringLiteral("人正向") %
                   Count(r, 2) % QStringLiteral("人反向 ") % Count(r, 4) %
                   QStringLiteral("方向不定") % QStringLiteral("共检测到") % Count(r, 6) %
                   QStringLiteral("张卡片");
        default:
            return p % RetrievalTail(r);
    }
}

QString IndexedRecordLine(std::int32_t index, const StoredRecord& r) {
    if (!HasLine(r)) {
        return {};
    }
    const QString p = IndexPrefix(index);
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % QStringLiteral(" 无人");
            }
            // The all-FF, infrared-off and ordinary rows read alike in this format.
            return p % t % SpacedUidText(r.UidAt(0)) % u' ' % DirectionText(r.PassageByte());
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) % Count(r, 0) % QStringLiteral("人正向 ") %
                   Count(r, 2) % QStringLiteral("人反向 ") % Count(r, 4) %
                   QStringLiteral("方向不定") % QStringLiteral("共检测到") % Count(r, 6) %
                   QStringLiteral("张卡片");
        default:
            return p % RetrievalTail(r);
    }
}

QString ExportLine(std::int32_t index, const StoredRecord& r) {
    if (!HasLine(r)) {
        return {};
    }
    if (r.Kind() == kind::kClockSet) {
        return IndexedRecordLine(index, r);
    }
    const QString p = IndexPrefix(index);
    const QString gap = QStringLiteral("   ");
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % gap % QStringLiteral("无人");
            }
            // The all-FF, infrared-off and ordinary rows read alike in this format.
            return p % t % gap % SpacedUidText(r.UidAt(0)) % u' ' % DirectionText(r.PassageByte());
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) % gap % Count(r, 0) % QStringLiteral("人正向 ") %
                   Count(r, 2) % QStringLiteral("人反向 ") % Count(r, 4) %
                   QStringLiteral("方向不定") % QStringLiteral("共检测到") % Count(r, 6) %
                   QStringLiteral("张卡片");
        case kind::kTagTimeout:
            return p % TimeText(r.TimeAt(8)) % gap % SpacedUidText(r.UidAt(0)) %
                   QStringLiteral(" 超时");
        case kind::kPassageTimeout:
            return p % TimeText(r.TimeAt(0)) % gap % QStringLiteral("通过超时");
        default:  // kind::kInfraredAlarm
            return p % TimeText(r.TimeAt(0)) % gap % QStringLiteral("红外探测报警");
    }
}

}  // namespace records
