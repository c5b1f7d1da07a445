#pragma once

#include "gate/gate_library.h"

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
std::optional<QString> ModeText(gate::Byte mode);
std::optional<QString> InfraredDirectionText(gate::Byte direction);
std::optional<QString> ReaderLossAlarmText(gate::Byte alarm);
QString BackRecordWritingText(gate::Byte recordingStatus);  // bit 0 decides

inline const QString kModeForcedRefusal = QStringLiteral("   操作失败  强制EAS模式");
inline const QString kModeSetFailed = QStringLiteral("   操作失败");
inline const QString kModeSetDone = QStringLiteral("   模式设置成功");
inline const QString kModeReadFailed = QStringLiteral("   模式读取失败");

// "hh:mm:ss" followed by text: the switches' status lines, written to panel 0 directly.
QString StampedLine(const QTime& now, const QString& text);

}  // namespace commands
