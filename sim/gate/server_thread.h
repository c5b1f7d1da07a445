#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <future>
#include <memory>

namespace sim {

// A thread with its own event loop that builds one server object inside itself, runs it and
// destroys it there, so sockets, notifiers and timers never cross threads and the server never
// depends on the thread that started it.
class ServerThread : public QThread {
public:
    using Factory = std::function<std::unique_ptr<QObject>(QString* error)>;

    ~ServerThread() override { Stop(); }

    // Runs the factory on the new thread and waits for it; false (with the error) when it
    // returned nothing, in which case the thread has already ended.
    bool Launch(Factory factory, QString* error);
    // Ends the event loop, destroys the server on its thread and joins.
    void Stop();

protected:
    void run() override;

private:
    Factory factory_;
    std::promise<QString> ready_;
};

}  // namespace sim
