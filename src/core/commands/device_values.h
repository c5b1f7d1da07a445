#pragma once

#include "gate/gate_library.h"
#include "util/text_table.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

namespace commands {

// Product code as two upper-case hexadecimal digits.
QString ProductCodeText(gate::Byte product);

// "major.minor", each part zero-padded to two digits: 7 and 2 give "07.02".
QString VersionText(gate::Byte major, gate::Byte minor);

// Controllers of major version 7 and later answer the detailed-information request.
constexpr bool AllowsDetailedInfo(gate::Byte major) {
    return major > 6;
}

// The four serial-number bytes as hexadecimal pairs, fourth byte first, joined by "-":
// bytes 1, 2, 3, 4 show as "04-03-02-01".
QString SerialNumberText(const std::array<gate::Byte, 4>& serial);

// "ON" for 1, "OFF" for 0, empty for anything else.
QString InfraredStateText(gate::Byte state);

struct ReaderStatusTexts {
    QString connection;
    QString rfField;
};
// Texts of the reader link and RF-field bytes; the field state is only shown while the link is
// up.
ReaderStatusTexts ReaderStatusText(gate::Byte link, gate::Byte rfField,
                                   const util::TextTable& texts);

// Clock entry: the six edits (year, month, day, hour, minute, second) turned into the record.
struct ClockEntry {
    enum class Error { None, EmptyField, NotANumber, YearOutOfRange };
    Error error = Error::None;
    QString badText;  // the text that is not a number (NotANumber)
    gate::Clock6 clock{};
};
ClockEntry ClockFromTexts(const std::array<QString, 6>& texts);

// The six clock bytes as two-digit texts, in record order.
std::array<QString, 6> ClockTexts(const gate::Clock6& clock);

// A decimal text of digits only (at most 9 of them, no sign), or nothing. (gate::ParseSignedDecimal
// reads the port fields, where a sign is allowed.)
std::optional<int> ParseDigits(QStringView text);

// The clock entry's refusals, in the console's language.
inline QString ClockEmptyMessage() {
    return QCoreApplication::translate("DeviceCommands", "请输入数据");
}
inline QString ClockYearMessage() {
    return QCoreApplication::translate("DeviceCommands", "请输入00-99之间的任一数值");
}
inline QString ClockCaption() {
    return QCoreApplication::translate("DeviceCommands", "信息提示");
}

}  // namespace commands
