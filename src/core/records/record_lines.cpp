#include "core/records/record_lines.h"

#include "core/records/record_text.h"

#include <QCoreApplication>

namespace records {

namespace {

// The words of the lines, in the language the caller chose.
class Words {
public:
    explicit Words(const util::TextTable& texts) : texts_(texts) {}
    QString operator()(const char* source) const { return texts_.Text("RecordLine", source); }
    const util::TextTable& Table() const { return texts_; }

private:
    const util::TextTable& texts_;
};

QString IndexPrefix(std::int32_t index, const Words& w) {
    return w(QT_TRANSLATE_NOOP("RecordLine", "第%1条记录    ")).arg(index);
}

bool HasAllFFUid(const StoredRecord& r) {
    return UidText(r.UidAt(0)) == QStringLiteral("FFFFFFFFFFFFFFFF");
}

// The counts of a statistics record in a line pattern with %1 to %4.
QString Counts(const QString& pattern, const StoredRecord& r) {
    return pattern.arg(r.Count16At(0)).arg(r.Count16At(2)).arg(r.Count16At(4)).arg(r.Count16At(6));
}

// The statistics words of the record-by-index and export lines.
constexpr const char* kStatisticsPattern =
    QT_TRANSLATE_NOOP("RecordLine", "%1人正向 %2人反向 %3方向不定共检测到%4张卡片");

// Kind 8, the same in both retrievals.
QString ClockSetText(const StoredRecord& r, const Words& w) {
    return w(QT_TRANSLATE_NOOP("RecordLine", "设置实时时钟设置前时钟:  %1  设置后时钟:  %2"))
        .arg(TimeText(r.TimeAt(0)), TimeText(r.TimeAt(6)));
}

bool HasLine(const StoredRecord& r) {
    return r.Length() > 0 && r.IsShownKind();
}

}  // namespace

namespace {

// Kinds 2, 3, 4 and 8 read the same after the prefix in both retrieval formats.
QString RetrievalTail(const StoredRecord& r, const Words& w) {
    switch (r.Kind()) {
        case kind::kTagTimeout:
            return TimeText(r.TimeAt(8)) % SpacedUidText(r.UidAt(0)) %
                   w(QT_TRANSLATE_NOOP("RecordLine", " 超时"));
        case kind::kPassageTimeout:
            return TimeText(r.TimeAt(0)) % w(QT_TRANSLATE_NOOP("RecordLine", " 通过超时"));
        case kind::kInfraredAlarm:
            return TimeText(r.TimeAt(0)) % w(QT_TRANSLATE_NOOP("RecordLine", " 红外探测报警"));
        default:  // kind::kClockSet
            return ClockSetText(r, w);
    }
}

}  // namespace

QString EarliestRecordLine(const StoredRecord& r, const util::TextTable& texts) {
    if (!HasLine(r)) {
        return {};
    }
    const Words w(texts);
    const QString p = IndexPrefix(1, w);
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % w(QT_TRANSLATE_NOOP("RecordLine", "  无人"));
            }
            const QString u = SpacedUidText(r.UidAt(0));
            const QString d = DirectionText(r.PassageByte(), texts);
            if (HasAllFFUid(r)) {
                return p % t % u' ' % u % u' ' % d;
            }
            if (r.PassageByte() == kInfraredOffPassage) {
                return p % t % u % w(QT_TRANSLATE_NOOP("RecordLine", "  红外已关闭"));
            }
            return p % t % u % QStringLiteral("  ") % d;
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) %
                   Counts(w(QT_TRANSLATE_NOOP("RecordLine",
                                              "%1人正向%2人反向 %3方向不定共检测到%4张卡片")),
                          r);
        default:
            return p % RetrievalTail(r, w);
    }
}

QString IndexedRecordLine(std::int32_t index, const StoredRecord& r, const util::TextTable& texts) {
    if (!HasLine(r)) {
        return {};
    }
    const Words w(texts);
    const QString p = IndexPrefix(index, w);
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % w(QT_TRANSLATE_NOOP("RecordLine", " 无人"));
            }
            // The all-FF, infrared-off and ordinary rows read alike in this format.
            return p % t % SpacedUidText(r.UidAt(0)) % u' ' % DirectionText(r.PassageByte(), texts);
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) % Counts(w(kStatisticsPattern), r);
        default:
            return p % RetrievalTail(r, w);
    }
}

QString ExportLine(std::int32_t index, const StoredRecord& r, const util::TextTable& texts) {
    if (!HasLine(r)) {
        return {};
    }
    if (r.Kind() == kind::kClockSet) {
        return IndexedRecordLine(index, r, texts);
    }
    const Words w(texts);
    const QString p = IndexPrefix(index, w);
    const QString gap = QStringLiteral("   ");
    switch (r.Kind()) {
        case kind::kPassage: {
            const QString t = TimeText(r.TimeAt(9));
            if (r.IsNoPerson()) {
                return p % t % gap % w(QT_TRANSLATE_NOOP("RecordLine", "无人"));
            }
            // The all-FF, infrared-off and ordinary rows read alike in this format.
            return p % t % gap % SpacedUidText(r.UidAt(0)) % u' ' %
                   DirectionText(r.PassageByte(), texts);
        }
        case kind::kStatistics:
            return p % TimeText(r.TimeAt(8)) % gap % Counts(w(kStatisticsPattern), r);
        case kind::kTagTimeout:
            return p % TimeText(r.TimeAt(8)) % gap % SpacedUidText(r.UidAt(0)) %
                   w(QT_TRANSLATE_NOOP("RecordLine", " 超时"));
        case kind::kPassageTimeout:
            return p % TimeText(r.TimeAt(0)) % gap % w(QT_TRANSLATE_NOOP("RecordLine", "通过超时"));
        default:  // kind::kInfraredAlarm
            return p % TimeText(r.TimeAt(0)) % gap %
                   w(QT_TRANSLATE_NOOP("RecordLine", "红外探测报警"));
    }
}

}  // namespace records
