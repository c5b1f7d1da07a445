#pragma once

#include "controller_model.h"

#include <cstdint>
#include <random>

namespace sim {

// Lifelike controller traffic for demonstrations and training, deterministic for a seed.
// Channel-management mode: tagged passages both ways (some with tag data, each with an IF2
// report), passages without a person, tag and passage time-outs, infrared alarms, and
// statistics every StatTime seconds, each also written as a record. EAS mode: regular EAS
// events (passages, EAS alarms), statistics, passage time-outs and infrared alarms.
class DemoTraffic {
public:
    explicit DemoTraffic(std::uint32_t seed);

    // Produces the events due up to nowMs (milliseconds since the simulator started).
    void Advance(std::int64_t nowMs, ControllerModel& model);

private:
    int Uniform(int low, int high);
    void ChannelEvent(ControllerModel& model);
    void EasEvent(ControllerModel& model);
    void Statistics(ControllerModel& model);
    Uid8 SomeTag();
    Byte Direction(const ControllerModel& model);

    std::mt19937 rng_;
    std::int64_t nextEventMs_ = 0;
    std::int64_t nextStatMs_ = -1;
    int forward_ = 0;
    int reverse_ = 0;
    int undetermined_ = 0;
    int tags_ = 0;
};

}  // namespace sim
