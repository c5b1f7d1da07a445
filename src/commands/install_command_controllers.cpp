#include "commands/install_command_controllers.h"

#include "app/console_context.h"
#include "commands/alarms_controller.h"
#include "commands/configuration_controller.h"
#include "commands/detection_settings_controller.h"
#include "commands/device_commands_controller.h"
#include "commands/switches_controller.h"

#include <QWidget>

namespace commands {

void InstallCommandControllers(app::ConsoleContext& ctx) {
    new DeviceCommandsController(ctx, &ctx.form);
    new ConfigurationController(ctx, &ctx.form);
    new DetectionSettingsController(ctx, &ctx.form);
    new SwitchesController(ctx, &ctx.form);
    new AlarmsController(ctx, &ctx.form);
}

}  // namespace commands
