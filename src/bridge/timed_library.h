#pragma once

#include "bridge/metrics.h"
#include "gate/wire_gate_library.h"

#include <QString>

#include <chrono>
#include <memory>

namespace bridge {

// A link worker's gate library, timing each call made through `->` as one round trip of the
// gate being served (SetGate) into gate_request_duration_seconds. The call object lives until
// the end of the full expression, so `library_->GetClock(...)` is timed from the call to its
// return without touching the call sites. Calls that make no round trip (opening, closing,
// asking whether the link is open) go through get() and are not timed.
class TimedLibrary {
public:
    class Call {
    public:
        Call(gate::WireGateLibrary* library, const TimedLibrary& owner)
            : library_(library), owner_(owner), start_(std::chrono::steady_clock::now()) {}
        ~Call() {
            if (owner_.metrics_ != nullptr) {
                const std::chrono::duration<double> took =
                    std::chrono::steady_clock::now() - start_;
                owner_.metrics_->ObserveRequest(owner_.gate_, took.count());
            }
        }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
        gate::WireGateLibrary* operator->() const { return library_; }

    private:
        gate::WireGateLibrary* library_;
        const TimedLibrary& owner_;
        std::chrono::steady_clock::time_point start_;
    };

    TimedLibrary& operator=(std::unique_ptr<gate::WireGateLibrary> library) {
        library_ = std::move(library);
        return *this;
    }
    void reset() { library_.reset(); }
    explicit operator bool() const { return library_ != nullptr; }
    gate::WireGateLibrary* get() const { return library_.get(); }
    Call operator->() const { return Call(library_.get(), *this); }

    void SetMetrics(Metrics* metrics) { metrics_ = metrics; }
    void SetGate(const QString& gate) { gate_ = gate; }

private:
    std::unique_ptr<gate::WireGateLibrary> library_;
    Metrics* metrics_ = nullptr;
    QString gate_;
};

}  // namespace bridge
