#include "core/records/record_format.h"

#include "core/records/record_fields.h"
#include "core/records/record_lines.h"
#include "util/gbk_codec.h"
#include "util/result_text.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace records {

namespace {

QString Number(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

}  // namespace

FormattedRecord TextExportFormat::Record(const RetrievedRecord& r) const {
    QByteArray line;
    if (r.Delivered()) {
        // The file keeps the Chinese lines whatever language the windows show.
        line = util::ToGbk(ExportLine(r.index, r.record, util::TextTable::Source()));
    }
    const bool holds = !line.isEmpty();
    line.append("\r\n");
    return {line, holds};
}

QByteArray CsvRecordFormat::Header() const {
    return QByteArrayLiteral(
        "index,kind,event,time,uid,direction,forward,reverse,undetermined,tags,clock_before,"
        "clock_after,body,result\r\n");
}

FormattedRecord CsvRecordFormat::Record(const RetrievedRecord& r) const {
    return {Row(r), r.Delivered()};
}

QByteArray CsvRecordFormat::Row(const RetrievedRecord& r) {
    QStringList columns{QString::number(r.index)};
    if (r.result == 0) {
        const RecordFields f = FieldsOf(r.record);
        columns << QString::number(r.record.Kind()) << f.event << f.time << f.uid << f.direction
                << Number(f.forward) << Number(f.reverse) << Number(f.undetermined)
                << Number(f.tags) << f.clockBefore << f.clockAfter << f.body;
    } else {
        for (int i = 0; i < 12; ++i) {
            columns << QString();
        }
    }
    columns << QString::number(r.result);
    // No field can hold a comma, a quote or a line break (words, numbers, times and
    // hexadecimal digits only), so none needs the quoting of RFC 4180.
    return (columns.join(u',') % QStringLiteral("\r\n")).toUtf8();
}

FormattedRecord JsonLinesRecordFormat::Record(const RetrievedRecord& r) const {
    return {Line(r), r.Delivered()};
}

QByteArray JsonLinesRecordFormat::Line(const RetrievedRecord& r) {
    QJsonObject o{{QStringLiteral("index"), r.index}};
    if (r.result != 0) {
        o.insert(QStringLiteral("result"), r.result);
        o.insert(QStringLiteral("result_text"),
                 util::ResultCodeText(static_cast<std::uint8_t>(r.result & 0xFF),
                                      util::TextTable::Source()));
        return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    }
    const RecordFields f = FieldsOf(r.record);
    o.insert(QStringLiteral("kind"), r.record.Kind());
    o.insert(QStringLiteral("body"), f.body);
    const auto text = [&o](const char* key, const QString& value) {
        if (!value.isEmpty()) {
            o.insert(QLatin1String(key), value);
        }
    };
    const auto number = [&o](const char* key, const std::optional<int>& value) {
        if (value) {
            o.insert(QLatin1String(key), *value);
        }
    };
    text("event", f.event);
    text("time", f.time);
    text("uid", f.uid);
    text("direction", f.direction);
    number("forward", f.forward);
    number("reverse", f.reverse);
    number("undetermined", f.undetermined);
    number("tags", f.tags);
    text("clock_before", f.clockBefore);
    text("clock_after", f.clockAfter);
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::unique_ptr<RecordFormat> MakeRecordFormat(const QString& name) {
    if (name == u"text") {
        return std::make_unique<TextExportFormat>();
    }
    if (name == u"csv") {
        return std::make_unique<CsvRecordFormat>();
    }
    if (name == u"jsonl") {
        return std::make_unique<JsonLinesRecordFormat>();
    }
    return nullptr;
}

}  // namespace records
