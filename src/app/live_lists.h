#pragma once

#include "monitor/monitor_lists.h"

#include <array>

namespace monitor {
class LineListView;
}

namespace app {

class Prompter;
class TForm1;

// The eleven live lists of the monitoring pages (the IF2 list included), each with its
// identity.
struct LiveList {
    monitor::MonitorList id;
    monitor::LineListView* view;
};
std::array<LiveList, 11> LiveLists(TForm1& form);

// Gives every live list its caption (its label) and the prompter of its save dialog and
// messages.
void InstallLiveListServices(TForm1& form, Prompter& prompter);

}  // namespace app
