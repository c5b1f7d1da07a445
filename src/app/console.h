#pragma once

#include <memory>

#include "core/records/export_file.h"
#include "gate/com_port_table.h"

namespace gate {
class GateLibrary;
}
namespace util {
class Clock;
}
namespace gui {
class Prompter;
class ResultReporter;
}  // namespace gui
namespace records {
class RecordExportController;
class RecordRetrievalController;
}  // namespace records
namespace netcfg {
class NetcfgController;
}

namespace app {

class TForm1;

// The controllers that tests and tools reach directly; every other one is a child of the main
// window and only reachable through its controls.
struct ConsoleControllers {
    records::RecordRetrievalController* retrieval = nullptr;
    records::RecordExportController* exporter = nullptr;
    netcfg::NetcfgController* netcfg = nullptr;
};

// The console as gate-console starts it: the main window first (it creates the six secondary
// windows after itself), then the status-bar reporter and the context every controller works
// with, then the controllers of every subsystem, wired to each other, and last the window's
// creation handler. The library, the prompter and the clock come from outside: main passes the
// real ones, tests their doubles. The console owns the window and the context for its lifetime.
class Console {
public:
    struct Options {
        // The serial ports offered by COM number (none by default: "Auto" only).
        gate::ComPortTable comPorts;
        // Where record exports go.
        records::ExportDirectories exportDirectories = records::DefaultExportDirectories();
    };

    Console(gate::GateLibrary& library, gui::Prompter& prompter, const util::Clock& clock,
            Options options);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    TForm1& Window() { return *window_; }
    const ConsoleControllers& Controllers() const { return controllers_; }
    // The status-bar reporter every controller reports through.
    gui::ResultReporter& Reporter();

private:
    struct Parts;
    std::unique_ptr<TForm1> window_;
    std::unique_ptr<Parts> parts_;
    ConsoleControllers controllers_;
};

}  // namespace app
