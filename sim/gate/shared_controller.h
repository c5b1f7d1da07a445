#pragma once

#include "controller_model.h"
#include "fault_plan.h"

#include <atomic>
#include <mutex>

namespace sim {

// The model and the pending line faults of one simulator behind one lock, shared by the line
// servers, the scenario timeline, the demo traffic and tests.
class SharedController {
public:
    template <typename F>
    auto With(F&& f) {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(model_, faults_);
    }

    // Connections the TCP line of this controller accepted since the start: a client that
    // reopens its link shows here.
    void NoteAcceptedConnection() { ++accepted_; }
    int AcceptedConnections() const { return accepted_; }

private:
    std::mutex mutex_;
    ControllerModel model_;
    FaultPlan faults_;
    std::atomic<int> accepted_{0};
};

}  // namespace sim
