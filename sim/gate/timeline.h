#pragma once

#include "demo_traffic.h"
#include "scenario.h"
#include "shared_controller.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace sim {

// Plays a scenario's timed events and the demo traffic against every controller of the
// simulator, on its own thread: each event happens on each controller, and each controller has
// demo traffic of its own (seeded with the seed plus its index, so that gates differ).
class Timeline : public QObject {
public:
    static constexpr int kTickMs = 10;

    Timeline(std::vector<SharedController*> controllers, std::optional<Scenario> scenario,
             std::optional<std::uint32_t> demoSeed);

private:
    void Tick();

    std::vector<SharedController*> controllers_;
    std::optional<Scenario> scenario_;
    std::size_t next_ = 0;
    std::vector<DemoTraffic> demo_;  // one per controller, or none
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace sim
