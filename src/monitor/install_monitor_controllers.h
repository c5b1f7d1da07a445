#pragma once

namespace app {
struct ConsoleContext;
class TForm1;
}  // namespace app

namespace monitor {

// Binds the monitoring pages, the second input and the tag block read to the main window; the
// controllers are children of the form.
void InstallMonitorControllers(app::ConsoleContext& ctx, app::TForm1& form);

}  // namespace monitor
