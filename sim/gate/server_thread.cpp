#include "server_thread.h"

namespace sim {

bool ServerThread::Launch(Factory factory, QString* error) {
    factory_ = std::move(factory);
    ready_ = std::promise<QString>();
    std::future<QString> result = ready_.get_future();
    start();
    const QString failure = result.get();
    if (!failure.isEmpty()) {
        wait();
        if (error) {
            *error = failure;
        }
        return false;
    }
    return true;
}

void ServerThread::Stop() {
    if (isRunning()) {
        quit();
        wait();
    }
}

void ServerThread::run() {
    QString error;
    std::unique_ptr<QObject> server = factory_(&error);
    if (!server) {
        ready_.set_value(error.isEmpty() ? QStringLiteral("server failed to start") : error);
        return;
    }
    ready_.set_value(QString());
    exec();
    server.reset();
}

}  // namespace sim
