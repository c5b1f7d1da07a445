#include "app/controllers.h"

#include "app/console_context.h"
#include "app/main_window.h"

namespace app {

void InstallControllers(ConsoleContext& ctx, TForm1& form) {
    (void)ctx;
    (void)form;
}

}  // namespace app
