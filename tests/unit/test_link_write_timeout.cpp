// A write that times out on a real link: the controller's side stops reading, so a request
// cannot leave the host in time. What the host still holds of it must never reach the
// controller afterwards (it was reported as failed, and may be a delete): the serial line
// discards it, the TCP connection is reset.
#include <QElapsedTimer>
#include <QTest>

#include "gate/serial_link.h"
#include "gate/tcp_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace {

// Reads what fd delivers until it has been quiet for quietMs, or limitMs passed; stops early
// once `until` has arrived (when given).
QByteArray ReadQuiet(int fd, int quietMs, int limitMs, const QByteArray& until = {}) {
    QByteArray got;
    QElapsedTimer total;
    total.start();
    QElapsedTimer quiet;
    quiet.start();
    char buffer[65536];
    while (total.elapsed() < limitMs && quiet.elapsed() < quietMs) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, n);
            quiet.restart();
            if (!until.isEmpty() && got.contains(until)) {
                break;
            }
        } else {
            ::usleep(5000);
        }
    }
    return got;
}

}  // namespace

class TestLinkWriteTimeout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void serialLineDiscardsTheTimedOutRequest() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        QVERIFY(::fcntl(master, F_SETFL, O_NONBLOCK) == 0);

        gate::SerialLink link;
        QString error;
        QVERIFY2(link.Open(slave, &error), qPrintable(error));
        // A pseudo-terminal has no low-latency setting: asked, refused, and the line works.
        QCOMPARE(link.LowLatencyState(), gate::LowLatency::Unsupported);

        // The controller's side reads nothing: far more than the device holds cannot leave.
        const QByteArray timedOut(1 << 20, 'D');
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!link.Write(timedOut, QDeadlineTimer(300)));
        QVERIFY(clock.elapsed() < 2500);
        QVERIFY(link.IsOpen());

        // It reads again: a little of the request may already have been in the device, the
        // rest is gone. The next request then goes out alone, with nothing in front of it.
        const QByteArray early = ReadQuiet(master, 300, 3000);
        QVERIFY2(early.size() < timedOut.size() / 4, qPrintable(QString::number(early.size())));
        QVERIFY(link.Write("NEXT", QDeadlineTimer(2000)));
        QCOMPARE(ReadQuiet(master, 500, 3000, "NEXT"), QByteArray("NEXT"));
        ::close(master);
    }

    void tcpConnectionIsResetOnATimedOutRequest() {
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(listener >= 0);
        const int small = 4096;  // a module that takes little and then stops reading
        QVERIFY(::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &small, sizeof small) == 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 1) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);

        gate::TcpLink link;
        QString error;
        QVERIFY2(link.Open(QStringLiteral("127.0.0.1"), ntohs(address.sin_port), &error,
                           QDeadlineTimer(2000)),
                 qPrintable(error));
        const int peer = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        QVERIFY(peer >= 0);

        const QByteArray timedOut(16 << 20, 'D');
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!link.Write(timedOut, QDeadlineTimer(300)));
        QVERIFY(clock.elapsed() < 2500);
        // Nothing of it may go out later: the connection is gone, and not gracefully (a
        // graceful close would still deliver what the system holds).
        QVERIFY(!link.IsOpen());

        qint64 received = 0;
        int ending = -1;  // 0: orderly end; else the errno that ended the reading
        QElapsedTimer reading;
        reading.start();
        char buffer[65536];
        while (ending < 0 && reading.elapsed() < 5000) {
            const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
            if (n > 0) {
                received += n;
            } else if (n == 0) {
                ending = 0;
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                ::usleep(5000);
            } else {
                ending = errno;
            }
        }
        QCOMPARE(ending, ECONNRESET);
        QVERIFY(received < timedOut.size());
        ::close(peer);
        ::close(listener);
    }
};

QTEST_GUILESS_MAIN(TestLinkWriteTimeout)
#include "test_link_write_timeout.moc"
