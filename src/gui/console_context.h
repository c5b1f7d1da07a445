#pragma once

namespace gate {
class GateLibrary;
}
namespace util {
class Clock;
}

namespace gui {

struct FormFields;
class Prompter;
class ResultReporter;

// What every controller of the main window works with besides its own controls: the gate
// library, the fields the windows share, the status-bar reporter, the prompter and the clock.
// It is a handful of references to objects that live as long as the console; each controller
// keeps its own copy.
struct ConsoleContext {
    gate::GateLibrary& library;
    FormFields& fields;
    ResultReporter& reporter;
    Prompter& prompter;
    const util::Clock& clock;
};

}  // namespace gui
