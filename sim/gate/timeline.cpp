#include "timeline.h"

namespace sim {

Timeline::Timeline(std::vector<SharedController*> controllers, std::optional<Scenario> scenario,
                   std::optional<std::uint32_t> demoSeed)
    : controllers_(std::move(controllers)), scenario_(std::move(scenario)), timer_(this) {
    if (demoSeed) {
        demo_.reserve(controllers_.size());
        for (std::size_t i = 0; i < controllers_.size(); ++i) {
            demo_.emplace_back(*demoSeed + static_cast<std::uint32_t>(i));
        }
    }
    clock_.start();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &Timeline::Tick);
    timer_.start();
    Tick();
}

void Timeline::Tick() {
    const std::int64_t now = clock_.elapsed();
    std::size_t due = next_;
    while (scenario_ && due < scenario_->events.size() && scenario_->events[due].atMs <= now) {
        ++due;
    }
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        controllers_[i]->With([&](ControllerModel& model, FaultPlan& faults) {
            for (std::size_t e = next_; e < due; ++e) {
                ApplyScenarioEvent(scenario_->events[e], model, faults);
            }
            if (!demo_.empty()) {
                demo_[i].Advance(now, model);
            }
        });
    }
    next_ = due;
}

}  // namespace sim
