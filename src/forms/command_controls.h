#pragma once

#include <array>
#include <cstddef>

class QAbstractButton;

namespace Ui {
class PageAlarm;
class PageChannel;
class PageCommand;
}  // namespace Ui

namespace forms {

// The command controls: the 36 buttons that are enabled exactly while a controller connection
// is open, in the order a successful open enables them. All are on the command page except
// "获取数据" (GetTagData, channel page) and the alarm page's "设置" and "执行" (Button11,
// Button12).
inline constexpr std::size_t kCommandControlCount = 36;
using CommandControlList = std::array<QAbstractButton*, kCommandControlCount>;

CommandControlList CommandControls(const Ui::PageCommand& command, const Ui::PageChannel& channel,
                                   const Ui::PageAlarm& alarm);

}  // namespace forms
