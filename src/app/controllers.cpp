#include "app/controllers.h"

#include "app/console_context.h"
#include "app/main_window.h"
#include "commands/install_command_controllers.h"

namespace app {

void InstallControllers(ConsoleContext& ctx, TForm1& form) {
    (void)form;
    commands::InstallCommandControllers(ctx);
}

}  // namespace app
