#pragma once

#include "paced_writer.h"
#include "pty_device.h"
#include "request_processor.h"

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace sim {

// The controllers' serial line on a pseudo-terminal, replies paced at the baud rate. The
// disconnect fault hangs the line up: a new pseudo-terminal is opened (the symbolic link, if
// any, moves to it) and the old one closed, so a program holding the old device sees it fail
// and finds the line again under another device name, as a replugged USB adapter gets.
class PtyLineServer : public QObject {
public:
    PtyLineServer(const ControllerBus& bus, int baud);

    bool Open(const QString& link, QString* error);
    QString Path() const { return device_->SlavePath(); }
    // Called on the server's thread with the new device path after a hang-up.
    void OnReopened(std::function<void(const QString&)> f) { reopened_ = std::move(f); }

private:
    void Readable();
    void HangUp();

    const ControllerBus& bus_;
    RequestProcessor processor_;
    std::unique_ptr<PtyDevice> device_ = std::make_unique<PtyDevice>();
    PacedWriter writer_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QString link_;
    std::function<void(const QString&)> reopened_;
};

}  // namespace sim
