#include "pty_line_server.h"

#include <QTimer>

#include <unistd.h>
#include <cerrno>

namespace sim {

PtyLineServer::PtyLineServer(const ControllerBus& bus, int baud)
    : bus_(bus), processor_(bus), writer_(baud, this) {}

bool PtyLineServer::Open(const QString& link, QString* error) {
    link_ = link;
    if (!device_->Open(link, error)) {
        return false;
    }
    writer_.SetFd(device_->Master());
    notifier_ = std::make_unique<QSocketNotifier>(device_->Master(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyLineServer::Readable);
    return true;
}

void PtyLineServer::Readable() {
    char buffer[512];
    // Bounded: at most a few kilobytes per wake-up, the rest on the next one.
    for (int round = 0; round < 8; ++round) {
        const ssize_t n = ::read(device_->Master(), buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        for (LineOutput& out : processor_.Feed(QByteArrayView(buffer, n))) {
            if (out.disconnect) {
                // Reopen from the event loop, not from inside the notifier being destroyed.
                QTimer::singleShot(0, this, &PtyLineServer::HangUp);
                return;
            }
            if (out.delayMs > 0) {
                QTimer::singleShot(out.delayMs, this,
                                   [this, bytes = out.bytes] { writer_.Write(bytes); });
            } else if (!out.bytes.isEmpty()) {
                writer_.Write(out.bytes, n);
            }
        }
    }
}

void PtyLineServer::HangUp() {
    notifier_.reset();
    writer_.Discard();
    writer_.SetFd(-1);
    processor_.Reset();
    // The new pseudo-terminal is opened while the old one is still held, so the system cannot
    // hand out the old device number again; closing the old one afterwards hangs it up.
    std::unique_ptr<PtyDevice> old = std::move(device_);
    old->ForgetLink();  // the new line takes the link over
    device_ = std::make_unique<PtyDevice>();
    QString error;
    const bool reopened = Open(link_, &error);
    old.reset();
    if (!reopened) {
        for (SharedController* controller : bus_.Controllers()) {
            controller->With([&](ControllerModel& m, FaultPlan&) {
                m.Note(QStringLiteral("pty reopen failed: %1").arg(error));
            });
        }
        return;
    }
    if (reopened_) {
        reopened_(device_->SlavePath());
    }
}

}  // namespace sim
