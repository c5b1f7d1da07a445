#pragma once

namespace app {
class TForm1;
}
namespace gui {
struct ConsoleContext;
}

namespace monitor {

// Binds the monitoring pages, the second input and the tag block read to the main window; the
// controllers are children of the form.
void InstallMonitorControllers(gui::ConsoleContext& ctx, app::TForm1& form);

}  // namespace monitor
