#include "demo_simulator.h"

namespace sim {

std::optional<DemoSimulator> StartDemoSimulator(QString* error, std::uint32_t seed) {
    SimulatorOptions options;
    options.tcpPort = 0;
    options.pty = true;
    options.if2Pty = true;
    options.demoSeed = seed;
    DemoSimulator demo;
    demo.simulator = std::make_unique<GateSimulator>();
    if (!demo.simulator->Start(options, error)) {
        return std::nullopt;
    }
    const SimulatorEndpoints ends = demo.simulator->Endpoints();
    demo.tcpPort = ends.tcpPort;
    demo.ptyPath = ends.ptyPath;
    demo.if2PtyPath = ends.if2PtyPath;
    return demo;
}

}  // namespace sim
