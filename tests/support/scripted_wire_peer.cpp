#include "scripted_wire_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace testing_support {

namespace {

constexpr int kPollMs = 20;

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    for (int attempts = 0; done < bytes.size() && attempts < 1000; ++attempts) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (n > 0) {
            done += n;
        } else {
            ::usleep(1000);
        }
    }
    return done == bytes.size();
}

}  // namespace

QByteArray ScriptedWirePeer::ReplyTo(const gate::wire::Request& request, std::uint8_t result,
                                     std::uint8_t status, const QByteArray& payload,
                                     std::uint8_t address) {
    return gate::wire::EncodeReply(
        gate::wire::Reply{address, request.command, request.sequence, result, status, payload});
}

std::unique_ptr<ScriptedWirePeer> ScriptedWirePeer::ListenTcp(Script script) {
    std::unique_ptr<ScriptedWirePeer> peer(new ScriptedWirePeer(std::move(script)));
    peer->listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (peer->listenFd_ < 0 ||
        ::bind(peer->listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(peer->listenFd_, 4) != 0 ||
        ::getsockname(peer->listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        return nullptr;
    }
    peer->port_ = ntohs(addr.sin_port);
    peer->thread_ = std::thread([p = peer.get()] { p->runTcp(); });
    return peer;
}

std::unique_ptr<ScriptedWirePeer> ScriptedWirePeer::OpenPty(Script script) {
    std::unique_ptr<ScriptedWirePeer> peer(new ScriptedWirePeer(std::move(script)));
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        return nullptr;
    }
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    peer->ptyFd_ = fd;
    peer->devicePath_ = QString::fromLocal8Bit(::ptsname(fd));
    peer->thread_ = std::thread([p = peer.get()] { p->runPty(); });
    return peer;
}

ScriptedWirePeer::~ScriptedWirePeer() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
    }
    if (ptyFd_ >= 0) {
        ::close(ptyFd_);
    }
}

QList<gate::wire::Request> ScriptedWirePeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool ScriptedWirePeer::SendOnPty(const QByteArray& bytes) {
    return ptyFd_ >= 0 && writeAll(ptyFd_, bytes);
}

void ScriptedWirePeer::runTcp() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0) {
            continue;
        }
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        ++connections_;
        serve(fd);
        ::close(fd);
    }
}

void ScriptedWirePeer::runPty() {
    if (!serve(ptyFd_)) {
        ::close(ptyFd_);
        ptyFd_ = -1;
    }
}

bool ScriptedWirePeer::serve(int fd) {
    gate::wire::RequestScanner scanner;
    while (!stop_) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kPollMs);
        if (ready <= 0) {
            continue;
        }
        if ((p.revents & POLLIN) == 0) {
            // A pseudo-terminal master with no slave open reports a hang-up until one opens.
            ::usleep(kPollMs * 1000);
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)) {
            return true;  // the other side closed
        }
        if (n < 0) {
            ::usleep(kPollMs * 1000);
            continue;
        }
        scanner.Feed(QByteArrayView(buffer, n));
        while (const auto request = scanner.Next()) {
            {
                std::lock_guard lock(mutex_);
                requests_.append(*request);
            }
            for (const Step& step : script_(*request)) {
                if (step.delayMs > 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(step.delayMs));
                }
                if (step.hangUp) {
                    return false;
                }
                writeAll(fd, step.bytes);
            }
        }
    }
    return true;
}

}  // namespace testing_support
