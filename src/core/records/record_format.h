#pragma once

#include "core/records/stored_record.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace records {

// One retrieval of an export: the record at `index`, or why there is none. A retrieval that
// failed (result not 0) or delivered nothing (length 0) has no record to show.
struct RetrievedRecord {
    std::int32_t index = 0;
    std::int32_t result = 0;
    StoredRecord record;

    bool Delivered() const { return result == 0 && record.Length() > 0; }
};

// The bytes a format gives one record (its line end included), and whether they hold the record.
// The text file has no line for a record of a kind it does not know or with a short body: it
// writes an empty line that keeps nothing of the record, which must never count as exported.
struct FormattedRecord {
    QByteArray bytes;
    bool holdsRecord = false;  // only a delivered record can be held
};

// How the records of an export become bytes: the console's text file, CSV or JSON lines.
class RecordFormat {
public:
    virtual ~RecordFormat() = default;
    // Bytes before the first record (a header row); none by default.
    virtual QByteArray Header() const { return {}; }
    virtual FormattedRecord Record(const RetrievedRecord& retrieved) const = 0;
};

// The console's export file: the export line in GBK and CR LF; an empty line for a record that
// could not be read or has no line. A delivered record is held exactly when its line is not
// empty.
class TextExportFormat final : public RecordFormat {
public:
    FormattedRecord Record(const RetrievedRecord& retrieved) const override;
};

// UTF-8 CSV after RFC 4180 (CR LF, a header row), one column per field. Every row keeps the raw
// body, so every delivered record is held.
class CsvRecordFormat final : public RecordFormat {
public:
    QByteArray Header() const override;
    FormattedRecord Record(const RetrievedRecord& retrieved) const override;

private:
    static QByteArray Row(const RetrievedRecord& retrieved);
};

// One UTF-8 JSON object per record, each on its own line ending in LF, the raw body included.
class JsonLinesRecordFormat final : public RecordFormat {
public:
    FormattedRecord Record(const RetrievedRecord& retrieved) const override;

private:
    static QByteArray Line(const RetrievedRecord& retrieved);
};

// The format of a name: "text", "csv" or "jsonl"; nothing for another name.
std::unique_ptr<RecordFormat> MakeRecordFormat(const QString& name);

}  // namespace records
