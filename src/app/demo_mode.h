#pragma once

#include <QString>

#include <memory>

namespace gate {
class ComPortTable;
}

namespace app {

class TForm1;

// The console's demo mode: a simulated controller with lifelike traffic, started in-process on
// a free loopback TCP port and on pseudo-terminals. Its main line and IF2 output get the lowest
// free COM numbers of the table, and the network tab is pointed at its TCP port; everything
// else stays as the operator would find it with a real gate.
class DemoMode {
public:
    // Starts the simulator and maps its pseudo-terminals into comPorts. Returns nothing (and
    // sets error) when it could not start.
    static std::unique_ptr<DemoMode> Start(gate::ComPortTable& comPorts, QString* error);
    ~DemoMode();

    // Points the network tab at the simulator; call after the window's start-up handler ran.
    void ApplyTo(TForm1& form) const;

    QString Summary() const;

private:
    struct Running;
    explicit DemoMode(std::unique_ptr<Running> running);
    std::unique_ptr<Running> running_;
};

}  // namespace app
