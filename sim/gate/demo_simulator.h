#pragma once

#include "gate_simulator.h"

#include <memory>
#include <optional>

namespace sim {

// A simulator with demo traffic for the console's demo mode, started in-process: TCP on a free
// loopback port, the main line and the IF2 output on pseudo-terminals. Runs on its own threads,
// so the console may call it synchronously from its GUI thread. Stops when destroyed.
struct DemoSimulator {
    std::unique_ptr<GateSimulator> simulator;
    quint16 tcpPort = 0;
    QString ptyPath;
    QString if2PtyPath;
};

std::optional<DemoSimulator> StartDemoSimulator(QString* error, std::uint32_t seed = 1);

}  // namespace sim
