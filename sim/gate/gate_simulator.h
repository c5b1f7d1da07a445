#pragma once

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
};

struct SimulatorEndpoints {
    quint16 tcpPort = 0;
    QString ptyPath;  // changes when a disconnect fault hangs the line up
    QString if2PtyPath;
};

// The gate controller simulator: the model, its line servers (TCP, main-line and IF2
// pseudo-terminals), and the scenario and demo timeline, each server on its own thread. Usable
// in-process by tests and by the console's demo mode, or from the gate-sim executable.
class GateSimulator {
public:
    GateSimulator();
    ~GateSimulator();
    GateSimulator(const GateSimulator&) = delete;
    GateSimulator& operator=(const GateSimulator&) = delete;

    bool Start(const SimulatorOptions& options, QString* error);
    void Stop();
    SimulatorEndpoints Endpoints() const;

    // The model under the simulator's lock.
    template <typename F>
    auto WithModel(F&& f) {
        return shared_.With([&](ControllerModel& m, FaultPlan&) { return f(m); });
    }
    void AddFault(const Fault& fault, int count = 1);
    // The fault spoils the reply after the next `cleanReplies` untouched ones.
    void AddFaultAfter(int cleanReplies, const Fault& fault);
    SharedController& Shared() { return shared_; }
    // TCP connections accepted since the simulator was built (restarts included).
    int TcpConnectionsAccepted() const { return tcpAccepted_.load(); }

private:
    SharedController shared_;
    std::vector<std::unique_ptr<ServerThread>> threads_;
    mutable std::mutex endpointsMutex_;
    SimulatorEndpoints endpoints_;
    std::FILE* log_ = nullptr;
    std::atomic<int> tcpAccepted_{0};
};

}  // namespace sim
