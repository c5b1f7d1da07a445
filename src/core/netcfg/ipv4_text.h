#pragma once

#include <QString>

#include <optional>

namespace netcfg {

// Reads a dotted IPv4 text of four decimal fields 0 to 255 (leading zeros read as decimal).
// Anything else is refused, so that a malformed entry never turns into an unintended
// destination (a system parser may read it as octal or as the broadcast address).
std::optional<quint32> ParseDottedIpv4(const QString& text);

// The address entry's text trimmed at both ends with every remaining blank removed.
QString CompactIp(const QString& entryText);

// The directed search and the change of address refuse an address with an empty middle field.
bool HasEmptyMiddleField(const QString& compactIp);

// The address check of the masked entry, run on every change of its text: the first of the four
// three-character fields (positions 1-3, 5-7, 9-11, 13-15) that reads above 255, with the
// message "错误: " + field + "是错误的地址"; nothing when every field passes. A field that is not
// a whole decimal number (one still holding blanks, or a blank field) counts as 0. The check
// stops at the end of the text, so a field is never empty.
std::optional<QString> OctetCheck(const QString& text);

}  // namespace netcfg
