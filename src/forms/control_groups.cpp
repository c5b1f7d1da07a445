#include "forms/control_groups.h"

#include "ui_page_alarm.h"
#include "ui_page_command.h"

namespace forms {

std::array<QComboBox*, 8> ConfigurationLists(const Ui::PageCommand& page) {
    return {page.ComboBox_ReaderInventory,  page.ComboBox_CloseReaderTime,
            page.ComboBox_StatTime,         page.ComboBox_TagOverTime,
            page.ComboBox_TagQuietTime,     page.ComboBox_BlockMaxStayTime,
            page.ComboBox_BackRecordConfig, page.ComboBox9};
}

std::array<QCheckBox*, 5> AlarmEnableBoxes(const Ui::PageAlarm& page) {
    return {page.CheckBox1, page.CheckBox2, page.CheckBox3, page.CheckBox4, page.CheckBox7};
}

std::array<QComboBox*, 45> AlarmPatternLists(const Ui::PageAlarm& page) {
    return {page.ComboBox1,  page.ComboBox13, page.ComboBox14, page.ComboBox15, page.ComboBox16,
            page.ComboBox17, page.ComboBox18, page.ComboBox19, page.ComboBox20, page.ComboBox21,
            page.ComboBox22, page.ComboBox23, page.ComboBox24, page.ComboBox25, page.ComboBox26,
            page.ComboBox27, page.ComboBox28, page.ComboBox29, page.ComboBox30, page.ComboBox31,
            page.ComboBox32, page.ComboBox33, page.ComboBox34, page.ComboBox35, page.ComboBox36,
            page.ComboBox37, page.ComboBox38, page.ComboBox39, page.ComboBox40, page.ComboBox41,
            page.ComboBox42, page.ComboBox43, page.ComboBox44, page.ComboBox45, page.ComboBox46,
            page.ComboBox47, page.ComboBox48, page.ComboBox49, page.ComboBox50, page.ComboBox51,
            page.ComboBox52, page.ComboBox53, page.ComboBox54, page.ComboBox55, page.ComboBox56};
}

}  // namespace forms
