#include "sim_line_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

class TcpClient final : public SimLineClient {
public:
    bool Connect(quint16 port, QString* error) {
        socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!socket_.waitForConnected(3000)) {
            *error = socket_.errorString();
            return false;
        }
        return true;
    }
    bool Write(const QByteArray& bytes) override {
        socket_.write(bytes);
        return socket_.waitForBytesWritten(2000);
    }
    QByteArray Read(int timeoutMs) override {
        if (socket_.bytesAvailable() == 0) {
            socket_.waitForReadyRead(timeoutMs);
        }
        return socket_.readAll();
    }
    bool HungUp(int timeoutMs) override {
        if (socket_.state() == QAbstractSocket::UnconnectedState) {
            return true;
        }
        return socket_.waitForDisconnected(timeoutMs) ||
               socket_.state() == QAbstractSocket::UnconnectedState;
    }

private:
    QTcpSocket socket_;
};

class PtyClient final : public SimLineClient {
public:
    ~PtyClient() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool Open(const QString& path, QString* error) {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
        return true;
    }
    bool Write(const QByteArray& bytes) override {
        return ::write(fd_, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    QByteArray Read(int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) {
            return {};
        }
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, n) : QByteArray();
    }
    bool HungUp(int timeoutMs) override {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                if (p.revents & (POLLHUP | POLLERR)) {
                    return true;
                }
                char buffer[64];
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n < 0 && errno == EIO) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    int fd_ = -1;
};

}  // namespace

SimLineClient::Outcome SimLineClient::Exchange(const gate::wire::Request& request, int timeoutMs) {
    return ExchangeAfter({}, request, timeoutMs);
}

SimLineClient::Outcome SimLineClient::ExchangeAfter(const QByteArray& prefix,
                                                    const gate::wire::Request& request,
                                                    int timeoutMs) {
    Outcome out;
    QElapsedTimer timer;
    timer.start();
    if (!Write(prefix + gate::wire::EncodeRequest(request))) {
        return out;
    }
    while (timer.elapsed() < timeoutMs) {
        scanner_.Feed(Read(static_cast<int>(std::max<qint64>(1, timeoutMs - timer.elapsed()))));
        if (auto damaged = scanner_.TakeDamaged()) {
            if (damaged->command == request.command && damaged->sequence == request.sequence) {
                out.damaged = true;
            }
        }
        while (auto reply = scanner_.Next()) {
            if (reply->command == request.command && reply->sequence == request.sequence) {
                out.reply = std::move(reply);
                out.elapsedMs = timer.elapsed();
                return out;
            }
        }
    }
    out.elapsedMs = timer.elapsed();
    return out;
}

std::unique_ptr<SimLineClient> ConnectTcp(quint16 port, QString* error) {
    auto client = std::make_unique<TcpClient>();
    if (!client->Connect(port, error)) {
        return nullptr;
    }
    return client;
}

std::unique_ptr<SimLineClient> OpenPty(const QString& path, QString* error) {
    auto client = std::make_unique<PtyClient>();
    if (!client->Open(path, error)) {
        return nullptr;
    }
    return client;
}
