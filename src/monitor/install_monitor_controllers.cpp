#include "monitor/install_monitor_controllers.h"

#include "controllers/monitor/if2_controller.h"
#include "controllers/monitor/polling_controller.h"
#include "controllers/monitor/tag_block_controller.h"

namespace monitor {

void InstallMonitorControllers(gui::ConsoleContext& ctx, app::TForm1& form) {
    new PollingController(ctx, form);
    new IF2Controller(ctx, form);
    new TagBlockController(ctx, form);
}

}  // namespace monitor
