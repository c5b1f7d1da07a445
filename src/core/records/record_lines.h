#pragma once

#include "core/records/stored_record.h"

#include <QString>

#include "util/text_table.h"

#include <cstdint>

namespace records {

// The three one-line texts of a stored record. They differ in their spaces on purpose: the
// operators and the files they keep rely on each one as it stands, so each has its own function.
// The words come from `texts`: the export passes the source texts, the windows the display
// texts. All three give an empty text for a record of length 0 or of a kind without a line.

// The line of "提取最早时刻记录": prefix "第1条记录    ".
QString EarliestRecordLine(const StoredRecord& record, const util::TextTable& texts);

// The line of "提取指定序号记录": prefix "第<index>条记录    ".
QString IndexedRecordLine(std::int32_t index, const StoredRecord& record,
                          const util::TextTable& texts);

// The line of record number `index` in an export file. A clock-set record (kind 8) is written
// as its record-by-index line, so that no stored record becomes an empty line.
QString ExportLine(std::int32_t index, const StoredRecord& record, const util::TextTable& texts);

}  // namespace records
