#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

#include "util/text_table.h"

namespace util {

// Texts shared by live messages, stored records and IF2 reports.

// Six binary bytes (year within the century, month, day, hour, minute, second) as
// "20yy-mm-dd hh:mm:ss " with one trailing space; each field zero-padded to two digits.
QString EventTimeText(const std::uint8_t* sixBytes);

// UID bytes as upper-case hexadecimal digit pairs separated by one space ("01 23 ... EF").
QString SpacedHexText(QByteArrayView bytes);

// Direction of a passage value 1 "正向", 2 "反向", 3 "方向不定", 4 "红外已关闭"; empty otherwise.
// Callers decide which bits of their passage byte make the value.
QString DirectionText(std::uint8_t value, const TextTable& texts);

}  // namespace util
