#include "app/live_lists.h"

#include "app/main_window.h"
#include "gui/message_list.h"
#include "ui_page_channel.h"
#include "ui_page_eas.h"

namespace app {

std::array<LiveList, 11> LiveLists(TForm1& form) {
    using monitor::MonitorList;
    Ui::PageChannel& channel = form.ChannelPage();
    Ui::PageEas& eas = form.EasPage();
    return {{
        {MonitorList::ListBox1, channel.ListBox1},
        {MonitorList::ListBox2, channel.ListBox2},
        {MonitorList::ListBox3, channel.ListBox3},
        {MonitorList::ListBox4, channel.ListBox4},
        {MonitorList::ListBox5, channel.ListBox5},
        {MonitorList::ListBox6, channel.ListBox6},
        {MonitorList::ListBox7, channel.ListBox7},
        {MonitorList::Lst1, eas.lst1},
        {MonitorList::Lst2, eas.lst2},
        {MonitorList::Lst3, eas.lst3},
        {MonitorList::Lst4, eas.lst4},
    }};
}

void InstallLiveListServices(TForm1& form, gui::Prompter& prompter) {
    for (const LiveList& list : LiveLists(form)) {
        list.view->SetCaption(monitor::ListLabel(list.id, util::TextTable::Display()));
        list.view->SetPrompter(&prompter);
    }
}

}  // namespace app
