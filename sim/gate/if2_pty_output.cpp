#include "if2_pty_output.h"

#include <unistd.h>

namespace sim {

namespace {
constexpr int kPollMs = 20;
}

If2PtyOutput::If2PtyOutput(SharedController& shared, int baud)
    : shared_(shared), writer_(baud, this), poll_(this) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        const QByteArray bytes =
            shared_.With([](ControllerModel& m, FaultPlan&) { return m.TakeIf2Output(); });
        if (!bytes.isEmpty()) {
            writer_.Write(bytes);
        }
    });
}

bool If2PtyOutput::Open(const QString& link, QString* error) {
    if (!device_.Open(link, error)) {
        return false;
    }
    writer_.SetFd(device_.Master());
    notifier_ = std::make_unique<QSocketNotifier>(device_.Master(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &If2PtyOutput::Drain);
    poll_.start();
    return true;
}

void If2PtyOutput::Drain() {
    char buffer[256];
    for (int round = 0; round < 8; ++round) {
        if (::read(device_.Master(), buffer, sizeof buffer) <= 0) {
            break;
        }
    }
}

}  // namespace sim
