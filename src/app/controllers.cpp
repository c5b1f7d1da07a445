#include "app/controllers.h"

#include "app/console_context.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "netcfg/netcfg_controller.h"

namespace app {

void InstallControllers(ConsoleContext& ctx, TForm1& form) {
    (void)ctx;
    (void)form;
    new netcfg::NetcfgController({form, form, form.locateForm(), form.fSetdlg(), form.fNhSetDlg(),
                                  form.fPhSetDlg(), form.ChangeIPdlg()},
                                 ctx.prompter, &form);
}

}  // namespace app
