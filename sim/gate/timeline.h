#pragma once

#include "demo_traffic.h"
#include "scenario.h"
#include "shared_controller.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace sim {

// Plays a scenario's timed events and the demo traffic against the model, on its own thread.
class Timeline : public QObject {
public:
    static constexpr int kTickMs = 10;

    Timeline(SharedController& shared, std::optional<Scenario> scenario,
             std::optional<std::uint32_t> demoSeed);

private:
    void Tick();

    SharedController& shared_;
    std::optional<Scenario> scenario_;
    std::size_t next_ = 0;
    std::unique_ptr<DemoTraffic> demo_;
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace sim
