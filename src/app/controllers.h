#pragma once

namespace app {

struct ConsoleContext;
class TForm1;

// Constructs the controllers of every subsystem; they are children of the form and live as
// long as it does.
void InstallControllers(ConsoleContext& ctx, TForm1& form);

}  // namespace app
