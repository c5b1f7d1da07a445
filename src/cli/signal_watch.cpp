#include "cli/signal_watch.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace cli {

namespace {

int gPipe[2] = {-1, -1};

extern "C" void OnSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(QObject* parent) : QObject(parent) {}

SignalWatch::~SignalWatch() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool SignalWatch::Install() {
    if (gPipe[0] == -1 && ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatch::ReadPipe);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGTERM, &action, nullptr) == 0;
}

void SignalWatch::ReadPipe() {
    char byte = 0;
    while (::read(gPipe[0], &byte, 1) == 1) {
        Q_EMIT Caught(static_cast<unsigned char>(byte));
    }
}

}  // namespace cli
