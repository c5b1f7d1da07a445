#pragma once

namespace gui {
struct ConsoleContext;
}

namespace commands {

// Creates the controllers of the command and alarm pages, owned by the main window, and
// connects them to their controls.
void InstallCommandControllers(gui::ConsoleContext& ctx);

}  // namespace commands
