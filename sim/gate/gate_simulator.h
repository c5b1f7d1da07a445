#pragma once

#include "controller_bus.h"
#include "scenario.h"
#include "server_thread.h"
#include "shared_controller.h"

#include <QHostAddress>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace sim {

struct SimulatorOptions {
    bool tcp = true;
    QHostAddress tcpHost = QHostAddress(QHostAddress::LocalHost);
    quint16 tcpPort = 6000;  // 0: any free port
    bool pty = false;
    QString ptyLink;  // symbolic link to the main line's device, optional
    bool if2Pty = false;
    QString if2Link;
    int baud = 115200;
    std::optional<Scenario> scenario;
    std::optional<std::uint32_t> demoSeed;  // demo traffic with this seed
    QString logFile;
    std::vector<std::pair<QString, QString>> settings;  // applied before the lines open
    // Controllers on each line, at consecutive addresses from the first one's (its `address`
    // setting, default 1): more than one makes the line an RS-485 bus (see ControllerBus).
    int controllersPerLine = 1;
    // Lines on TCP, each with controllersPerLine controllers of its own, on consecutive ports
    // from tcpPort (each on a free port when tcpPort is 0). The pseudo-terminals serve the
    // first line.
    int tcpLines = 1;
};

// Bounds of one simulator process: 254 controller addresses on a bus, and enough lines for a
// site's worth of gates.
constexpr int kMaxControllersPerLine = 254;
constexpr int kMaxTcpLines = 1000;

struct SimulatorEndpoints {
    quint16 tcpPort = 0;            // of the first line
    std::vector<quint16> tcpPorts;  // of every line, in order
    QString ptyPath;                // changes when a disconnect fault hangs the line up
    QString if2PtyPath;
};

// The gate controller simulator: the controllers (one by default; several on a bus, on several
// lines), their line servers (TCP, main-line and IF2 pseudo-terminals), and the scenario and
// demo timeline, each server on its own thread. Usable in-process by tests and by the console's
// demo mode, or from the gate-sim executable. Controller 0 is the first controller of the first
// line; the controllers of line L are L * controllersPerLine onwards.
class GateSimulator {
public:
    GateSimulator();
    ~GateSimulator();
    GateSimulator(const GateSimulator&) = delete;
    GateSimulator& operator=(const GateSimulator&) = delete;

    bool Start(const SimulatorOptions& options, QString* error);
    void Stop();
    SimulatorEndpoints Endpoints() const;

    // The model of controller 0 (or of controller `index`) under its lock.
    template <typename F>
    auto WithModel(F&& f) {
        return WithModelOf(0, std::forward<F>(f));
    }
    template <typename F>
    auto WithModelOf(std::size_t index, F&& f) {
        return controllers_.at(index)->With([&](ControllerModel& m, FaultPlan&) { return f(m); });
    }
    std::size_t ControllerCount() const { return controllers_.size(); }
    // Faults of controller 0.
    void AddFault(const Fault& fault, int count = 1);
    // The fault spoils the reply after the next `cleanReplies` untouched ones.
    void AddFaultAfter(int cleanReplies, const Fault& fault);
    SharedController& Shared(std::size_t index = 0) { return *controllers_.at(index); }
    // TCP connections accepted since the simulator was built (restarts included).
    int TcpConnectionsAccepted() const { return tcpAccepted_.load(); }

private:
    bool SetUpControllers(const SimulatorOptions& options, QString* error);

    // Kept from one Start to the next, so that a model set up before Start stays.
    std::vector<std::unique_ptr<SharedController>> controllers_;
    std::vector<std::unique_ptr<ControllerBus>> buses_;  // one per line
    std::vector<std::unique_ptr<ServerThread>> threads_;
    mutable std::mutex endpointsMutex_;
    SimulatorEndpoints endpoints_;
    std::FILE* log_ = nullptr;
    std::atomic<int> tcpAccepted_{0};
};

}  // namespace sim
