#pragma once

#include <array>

class QCheckBox;
class QComboBox;

namespace Ui {
class PageAlarm;
class PageCommand;
}  // namespace Ui

namespace forms {

// Groups of controls of one page in the order the settings number them, so that logic fed and
// returning arrays of values can be bound to them by position.

// The eight lists of "控制器配置信息" in the order the configuration block travels:
// ComboBox_ReaderInventory, ComboBox_CloseReaderTime, ComboBox_StatTime, ComboBox_TagOverTime,
// ComboBox_TagQuietTime, ComboBox_BlockMaxStayTime, ComboBox_BackRecordConfig, ComboBox9.
std::array<QComboBox*, 8> ConfigurationLists(const Ui::PageCommand& page);

// The five check boxes of "启动报警项", alarm 1 to 5 (mask bits 0x01 to 0x10): CheckBox1 to
// CheckBox4, then CheckBox7.
std::array<QCheckBox*, 5> AlarmEnableBoxes(const Ui::PageAlarm& page);

// The 45 alarm-pattern lists in record order, five groups of nine (buzzer on, off, count, LED
// on, off, count, relay on, off, count): ComboBox1 and ComboBox13 to ComboBox20 for alarm 1,
// then ComboBox21 to ComboBox29, ComboBox30 to ComboBox38, ComboBox39 to ComboBox47 and
// ComboBox48 to ComboBox56.
std::array<QComboBox*, 45> AlarmPatternLists(const Ui::PageAlarm& page);

}  // namespace forms
