#pragma once

#include "core/monitor/monitor_lists.h"

#include <array>

namespace gui {
class LineListView;
class Prompter;
}  // namespace gui

namespace app {

class TForm1;

// The eleven live lists of the monitoring pages (the IF2 list included), each with its
// identity.
struct LiveList {
    monitor::MonitorList id;
    gui::LineListView* view;
};
std::array<LiveList, 11> LiveLists(TForm1& form);

// Gives every live list its caption (its label) and the prompter of its save dialog and
// messages.
void InstallLiveListServices(TForm1& form, gui::Prompter& prompter);

}  // namespace app
