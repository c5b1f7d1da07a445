#pragma once

#include <cstdint>

class QWidget;

namespace app {

// The monitoring start and stop buttons by operating mode: mode 0 enables "IF1开始获取" and
// disables "IF1停止获取", "开始获取", "停止获取"; mode 1 enables "开始获取" and disables the
// other three; any other mode value changes no button. Timers are not touched.
void SetMonitorButtonsByMode(QWidget& form, std::uint8_t mode);

}  // namespace app
