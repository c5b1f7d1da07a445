#pragma once

#include "paced_writer.h"
#include "pty_device.h"
#include "shared_controller.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

namespace sim {

// The IF2 output line on its own pseudo-terminal: the controller's IF2 bytes, paced at the
// baud rate. Anything written to the line is read and ignored.
class If2PtyOutput : public QObject {
public:
    If2PtyOutput(SharedController& shared, int baud);
    bool Open(const QString& link, QString* error);
    QString Path() const { return device_.SlavePath(); }

private:
    void Drain();

    SharedController& shared_;
    PtyDevice device_;
    PacedWriter writer_;
    QTimer poll_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace sim
