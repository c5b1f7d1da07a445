#include "timeline.h"

namespace sim {

Timeline::Timeline(SharedController& shared, std::optional<Scenario> scenario,
                   std::optional<std::uint32_t> demoSeed)
    : shared_(shared), scenario_(std::move(scenario)), timer_(this) {
    if (demoSeed) {
        demo_ = std::make_unique<DemoTraffic>(*demoSeed);
    }
    clock_.start();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &Timeline::Tick);
    timer_.start();
    Tick();
}

void Timeline::Tick() {
    const std::int64_t now = clock_.elapsed();
    shared_.With([&](ControllerModel& model, FaultPlan& faults) {
        while (scenario_ && next_ < scenario_->events.size() &&
               scenario_->events[next_].atMs <= now) {
            ApplyScenarioEvent(scenario_->events[next_], model, faults);
            ++next_;
        }
        if (demo_) {
            demo_->Advance(now, model);
        }
    });
}

}  // namespace sim
