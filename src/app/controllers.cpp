#include "app/controllers.h"

#include "app/console_context.h"
#include "app/main_window.h"
#include "monitor/install_monitor_controllers.h"

namespace app {

void InstallControllers(ConsoleContext& ctx, TForm1& form) {
    monitor::InstallMonitorControllers(ctx, form);
}

}  // namespace app
