// Stored-record decoding and its three line formats: byte 0 is the kind, byte 1 the length the
// library declared, bytes 2-5 the record number, the rest the bytes it filled (any number, also
// past the 17 a record holds). Nothing past the valid length is read, the export line never
// breaks the file's lines, and every format starts with the prefix of its record number.
#include "core/records/record_lines.h"
#include "core/records/stored_record.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

using records::StoredRecord;

namespace {

struct Lines {
    QString earliest;
    QString indexed;
    QString exported;
    bool operator==(const Lines&) const = default;
};

Lines Format(std::int32_t index, const StoredRecord& record) {
    return {records::EarliestRecordLine(record, util::TextTable::Source()),
            records::IndexedRecordLine(index, record, util::TextTable::Source()),
            records::ExportLine(index, record, util::TextTable::Source())};
}

QString Prefix(std::int32_t index) {
    return u'第' % QString::number(index) % QStringLiteral("条记录    ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) {
        return 0;
    }
    const gate::Byte kind = data[0];
    const int declared = data[1];
    std::int32_t index = 0;
    std::memcpy(&index, data + 2, sizeof index);
    const std::size_t filled = size - 6;
    const auto bytes = ExactCopy(data + 6, filled);
    const StoredRecord record(kind, std::span<const gate::Byte>(bytes.get(), filled), declared);

    const int valid = std::min({declared, static_cast<int>(filled), gate::kRecordBufferSize});
    FUZZ_CHECK(record.Length() == valid);
    FUZZ_CHECK(record.Kind() == kind);

    const Lines lines = Format(index, record);
    const bool shown = valid > 0 && (kind <= 4 || kind == 8);
    FUZZ_CHECK(lines.earliest.isEmpty() != shown);
    FUZZ_CHECK(lines.indexed.isEmpty() != shown);
    FUZZ_CHECK(lines.exported.isEmpty() != shown);
    if (shown) {
        FUZZ_CHECK(lines.earliest.startsWith(Prefix(1)));
        FUZZ_CHECK(lines.indexed.startsWith(Prefix(index)));
        FUZZ_CHECK(lines.exported.startsWith(Prefix(index)));
        FUZZ_CHECK(lines.indexed.size() > Prefix(index).size());
    }
    for (const QChar c : lines.exported) {
        FUZZ_CHECK(c != u'\r' && c != u'\n');
    }
    if (kind == 8) {
        FUZZ_CHECK(lines.exported == lines.indexed);
    }

    // Bytes past the valid length are not part of the record: changing them changes nothing.
    if (filled > static_cast<std::size_t>(valid)) {
        const auto other = ExactCopy(bytes.get(), filled);
        for (std::size_t i = static_cast<std::size_t>(valid); i < filled; ++i) {
            other[i] = static_cast<std::uint8_t>(~other[i]);
        }
        const StoredRecord same(kind, std::span<const gate::Byte>(other.get(), filled), declared);
        FUZZ_CHECK(Format(index, same) == lines);
    }
    return 0;
}
