#pragma once

namespace gate {
class GateLibrary;
}
namespace util {
class Clock;
}
class QWidget;

namespace gui {

struct FormFields;
class Prompter;
class ResultReporter;

// What every subsystem controller of the main window works with. Controllers find their
// controls by object name inside `form` (the main window), read them, call the library and
// pure logic, and write the results back.
struct ConsoleContext {
    gate::GateLibrary& library;
    FormFields& fields;
    ResultReporter& reporter;
    Prompter& prompter;
    const util::Clock& clock;
    QWidget& form;
};

}  // namespace gui
