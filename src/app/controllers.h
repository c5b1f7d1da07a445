#pragma once

namespace gui {
struct ConsoleContext;
}

namespace app {

class TForm1;

// Constructs the controllers of every subsystem; they are children of the form and live as
// long as it does.
void InstallControllers(gui::ConsoleContext& ctx, TForm1& form);

}  // namespace app
