#pragma once

#include <QObject>

class QSocketNotifier;

namespace cli {

// Turns SIGINT and SIGTERM into a Qt signal on the event loop. The handlers only write the
// signal's number into a pipe (all a handler may safely do); a socket notifier on the other end
// reads it when the loop is free, so that the program ends between two polls, never inside one.
class SignalWatch final : public QObject {
    Q_OBJECT
public:
    explicit SignalWatch(QObject* parent = nullptr);
    ~SignalWatch() override;

    // False when the pipe or the handlers cannot be set up.
    bool Install();

Q_SIGNALS:
    void Caught(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace cli
