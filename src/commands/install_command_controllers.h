#pragma once

namespace app {
struct ConsoleContext;
}

namespace commands {

// Creates the controllers of the command and alarm pages, owned by the main window, and
// connects them to their controls.
void InstallCommandControllers(app::ConsoleContext& ctx);

}  // namespace commands
