#include "commands/install_command_controllers.h"

#include "controllers/commands/alarms_controller.h"
#include "controllers/commands/configuration_controller.h"
#include "controllers/commands/detection_settings_controller.h"
#include "controllers/commands/device_commands_controller.h"
#include "controllers/commands/switches_controller.h"
#include "gui/console_context.h"

#include <QWidget>

namespace commands {

void InstallCommandControllers(gui::ConsoleContext& ctx) {
    new DeviceCommandsController(ctx, &ctx.form);
    new ConfigurationController(ctx, &ctx.form);
    new DetectionSettingsController(ctx, &ctx.form);
    new SwitchesController(ctx, &ctx.form);
    new AlarmsController(ctx, &ctx.form);
}

}  // namespace commands
