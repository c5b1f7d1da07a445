#pragma once

#include "gate/gate_library.h"
#include "util/text_table.h"

#include <QCoreApplication>
#include <QString>
#include <QTime>

#include <optional>

namespace commands {

// Request byte of a two-way switch: 0x80 plus 0 for the first choice, 1 for the second.
constexpr gate::Byte SwitchSetRequest(bool secondChoice) {
    return static_cast<gate::Byte>(0x80 | (secondChoice ? 1 : 0));
}
constexpr gate::Byte kSwitchReadRequest = 0;

// A controller forced into EAS mode reports bit 1 of its mode byte set and cannot be switched.
constexpr bool IsForcedEas(gate::Byte mode) {
    return (mode & 0x02) != 0;
}

// Texts of the switches' own status lines, each with its three leading blanks; nothing for a
// value that has no text.
// The mode's text comes from `texts` (gatectl shows the source texts); the others are in the
// console's language.
std::optional<QString> ModeText(gate::Byte mode, const util::TextTable& texts);
std::optional<QString> InfraredDirectionText(gate::Byte direction);
std::optional<QString> ReaderLossAlarmText(gate::Byte alarm);
QString BackRecordWritingText(gate::Byte recordingStatus);  // bit 0 decides

// The mode switch's own status lines, in the console's language.
inline QString ModeForcedRefusalText() {
    return QCoreApplication::translate("Switches", "   操作失败  强制EAS模式");
}
inline QString ModeSetFailedText() {
    return QCoreApplication::translate("Switches", "   操作失败");
}
inline QString ModeSetDoneText() {
    return QCoreApplication::translate("Switches", "   模式设置成功");
}
inline QString ModeReadFailedText() {
    return QCoreApplication::translate("Switches", "   模式读取失败");
}

// "hh:mm:ss" followed by text: the switches' status lines, written to panel 0 directly.
QString StampedLine(const QTime& now, const QString& text);

}  // namespace commands
