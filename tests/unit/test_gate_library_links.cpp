#include <QElapsedTimer>
#include <QTest>

#include "gate/wire_gate_library.h"
#include "scripted_wire_peer.h"

#include <memory>

// The gate library on real links: TCP loopback and a pseudo-terminal, each with a controller
// played from a script on another thread.
using gate::Byte;
using gate::WireGateLibrary;
using gate::wire::Request;
using testing_support::ScriptedWirePeer;
using Steps = QList<ScriptedWirePeer::Step>;
namespace result = gate::result;

namespace {

// Generous bound for "within the timeout" under a loaded machine; the timeout itself is 600 ms.
constexpr qint64 kCallBoundMs = 2500;
const QString kLoopback = QStringLiteral("127.0.0.1");

ScriptedWirePeer::Script answerInfo(Byte product) {
    return [product](const Request& r) -> Steps {
        return {{ScriptedWirePeer::ReplyTo(
            r, 0, 1, QByteArray::fromHex("000702").replace(0, 1, QByteArray(1, char(product))))}};
    };
}

struct Info {
    int result = -1;
    Byte product = 0;
    Byte s = 0xEE;
};

Info getInfo(WireGateLibrary& library, std::int32_t handle, Byte address = 0xFF) {
    Info info;
    Byte major = 0;
    Byte minor = 0;
    info.result = library.GetControllerInfo(address, info.product, major, minor, info.s, handle);
    return info;
}

}  // namespace

class TestGateLibraryLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tcpOpenCallAndClose() {
        auto peer = ScriptedWirePeer::ListenTcp(answerInfo(0x31));
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
        QCOMPARE(handle, int(peer->Port()));
        const Info info = getInfo(library, handle);
        QCOMPARE(info.result, result::kOk);
        QCOMPARE(int(info.product), 0x31);
        QCOMPARE(int(info.s), 1);
        QCOMPARE(int(peer->Requests().first().address), 0xFF);

        QCOMPARE(library.CloseNetPort(handle + 1), result::kCommError);  // not the open port
        QVERIFY(library.IsLinkOpen());
        QCOMPARE(library.CloseNetPort(handle), result::kOk);
        QVERIFY(!library.IsLinkOpen());
        QCOMPARE(getInfo(library, handle).result, result::kCommError);
    }

    // Each fault of the line gives its code, and within the bound.
    void tcpFaults_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("expected");
        QTest::newRow("silence") << 0 << result::kCommError;
        QTest::newRow("busy") << 1 << result::kBusy;
        QTest::newRow("damaged reply") << 2 << result::kCrcError;
        QTest::newRow("truncated reply") << 3 << result::kCommError;
        QTest::newRow("garbage and a reply split over segments") << 4 << result::kOk;
        QTest::newRow("wrong payload length") << 5 << result::kLengthError;
        QTest::newRow("controller code") << 6 << 12;
    }
    void tcpFaults() {
        QFETCH(int, fault);
        QFETCH(int, expected);
        auto peer = ScriptedWirePeer::ListenTcp([fault](const Request& r) -> Steps {
            const QByteArray good = ScriptedWirePeer::ReplyTo(r, 0, 1,
                                                              QByteArray::fromHex("31"
                                                                                  "0702"));
            QByteArray bad = good;
            bad[8] = char(bad[8] ^ 0x01);
            switch (fault) {
                case 1:
                    return {{ScriptedWirePeer::ReplyTo(r, result::kBusy, 0, {})}};
                case 2:
                    return {{bad}};
                case 3:
                    return {{good.left(good.size() - 3)}};
                case 4:
                    return {{QByteArray::fromHex("ff5a00")},
                            {good.left(4), 30},
                            {good.mid(4, 5), 30},
                            {good.mid(9), 30}};
                case 5:
                    return {{ScriptedWirePeer::ReplyTo(r, 0, 1, QByteArray::fromHex("3107"))}};
                case 6:
                    return {{ScriptedWirePeer::ReplyTo(r, 12, 3, {})}};
                default:
                    return {};
            }
        });
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(getInfo(library, handle).result, expected);
        QVERIFY2(clock.elapsed() < kCallBoundMs, qPrintable(QString::number(clock.elapsed())));
    }

    // The reply to a request that timed out arrives during the next call and is dropped.
    // (Request 0 is the open's identity request.)
    void tcpLateReplyIsDiscarded() {
        auto peer = ScriptedWirePeer::ListenTcp([](const Request& r) -> Steps {
            if (r.sequence == 1) {
                return {{ScriptedWirePeer::ReplyTo(r, 0, 0, QByteArray::fromHex("aa0702")),
                         gate::LinkTiming{}.replyMs + 200}};
            }
            return {{ScriptedWirePeer::ReplyTo(r, 0, 0, QByteArray::fromHex("310702"))}};
        });
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
        QCOMPARE(getInfo(library, handle).result, result::kCommError);
        const Info second = getInfo(library, handle);
        QCOMPARE(second.result, result::kOk);
        QCOMPARE(int(second.product), 0x31);
    }

    // The reply timeout is the library's value: a reply later than the default 600 ms is the
    // answer for a library built to wait longer, and the next request is still numbered on.
    void replyTimeoutIsTheLibrarysValue() {
        const int lateMs = gate::LinkTiming{}.replyMs + 200;
        auto peer = ScriptedWirePeer::ListenTcp([lateMs](const Request& r) -> Steps {
            return {{ScriptedWirePeer::ReplyTo(r, 0, 0, QByteArray::fromHex("310702")), lateMs}};
        });
        QVERIFY(peer);
        gate::LinkTiming timing;
        timing.replyMs = lateMs + 600;
        WireGateLibrary library{gate::ComPortTable(), gate::SystemSerialDevices,
                                gate::ReconnectSchedule::SteadyClock(), timing};
        QCOMPARE(library.Timing().replyMs, timing.replyMs);
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
        const Info info = getInfo(library, handle);
        QCOMPARE(info.result, result::kOk);
        QCOMPARE(int(info.product), 0x31);
    }

    void tcpConnectRefused() {
        quint16 port = 0;
        {
            auto gone = ScriptedWirePeer::ListenTcp(answerInfo(1));
            QVERIFY(gone);
            port = gone->Port();
        }
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(library.OpenNetPort(port, kLoopback, a, handle), result::kCommError);
        QVERIFY(clock.elapsed() < kCallBoundMs);
        QCOMPARE(handle, -1);
        QVERIFY(library.LastSystemError().contains(kLoopback));
        QCOMPARE(library.OpenNetPort(80, kLoopback, a, handle), result::kCommError);  // range
        QCOMPARE(library.OpenNetPort(port, QStringLiteral("gate.example"), a, handle),
                 result::kCommError);
    }

    void tcpPeerHangsUp() {
        auto peer = ScriptedWirePeer::ListenTcp([](const Request&) -> Steps {
            return {{{}, 0, true}};
        });
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
        QCOMPARE(getInfo(library, handle).result, result::kCommError);
        QTRY_VERIFY_WITH_TIMEOUT(!library.IsLinkOpen(), 3000);
        QCOMPARE(getInfo(library, handle).result, result::kCommError);
    }

    // A second open closes the first link: the peer serves one connection at a time, so the
    // second would never be answered if the first stayed open.
    void reopenClosesTheEarlierLink() {
        auto peer = ScriptedWirePeer::ListenTcp(answerInfo(0x31));
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(library.OpenNetPort(peer->Port(), kLoopback, a, handle), result::kOk);
            QCOMPARE(getInfo(library, handle).result, result::kOk);
        }
        QCOMPARE(peer->Connections(), 3);
    }

    void serialOpenAndCall() {
        auto peer = ScriptedWirePeer::OpenPty(answerInfo(0x42));
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable({{5, peer->DevicePath()}})};
        Byte a = 0x01;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenComPort(5, a, handle), result::kOk);
        QCOMPARE(handle, 5);
        const Info info = getInfo(library, 5, 0x01);
        QCOMPARE(info.result, result::kOk);
        QCOMPARE(int(info.product), 0x42);
        QCOMPARE(int(peer->Requests().first().address), 0x01);
        QCOMPARE(getInfo(library, 6).result, result::kCommError);  // not the open handle
        QCOMPARE(library.CloseComPort(), result::kOk);
        QCOMPARE(getInfo(library, 5).result, result::kCommError);
    }

    void autoOpenKeepsTheFirstAnsweringPort() {
        auto silent = ScriptedWirePeer::OpenPty([](const Request&) -> Steps { return {}; });
        auto answering = ScriptedWirePeer::OpenPty(answerInfo(0x42));
        auto later = ScriptedWirePeer::OpenPty(answerInfo(0x43));
        QVERIFY(silent && answering && later);
        WireGateLibrary library{gate::ComPortTable({{1, QStringLiteral("/nonexistent/ttyUSB9")},
                                                    {2, silent->DevicePath()},
                                                    {4, answering->DevicePath()},
                                                    {7, later->DevicePath()}})};
        Byte a = 0xFF;
        std::int32_t found = 0;
        std::int32_t handle = -1;
        QCOMPARE(library.AutoOpenComPort(found, a, handle), result::kOk);
        QCOMPARE(found, 4);
        QCOMPARE(handle, 4);
        QVERIFY(later->Requests().isEmpty());
        QCOMPARE(getInfo(library, 4).product, Byte(0x42));
    }

    void autoOpenWithoutControllerFails() {
        WireGateLibrary library{gate::ComPortTable({{1, QStringLiteral("/nonexistent/ttyUSB9")}})};
        Byte a = 0xFF;
        std::int32_t found = 0;
        std::int32_t handle = -1;
        QCOMPARE(library.AutoOpenComPort(found, a, handle), result::kCommError);
        QCOMPARE(handle, -1);
        QVERIFY(!library.IsLinkOpen());
    }

    // The system's reason for refusing a device is kept for the console to show.
    void refusedDeviceKeepsTheReason() {
        const QString path = QStringLiteral("/nonexistent/ttyACM3");
        WireGateLibrary library{gate::ComPortTable({{2, path}})};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenComPort(2, a, handle), result::kCommError);
        QVERIFY(library.LastSystemError().startsWith(path + QStringLiteral(": ")));
        QVERIFY(library.LastSystemError().size() > path.size() + 2);
    }

    // The other end goes away: the port is closed once and later calls answer 48 at once,
    // even while the event loop runs in between.
    void serialHangUpClosesThePortOnce() {
        auto peer = ScriptedWirePeer::OpenPty([](const Request& r) -> Steps {
            if (r.sequence == 0) {  // the open's identity request
                return {
                    {ScriptedWirePeer::ReplyTo(r, 0, 0, QByteArray::fromHex("3107020a0b0c0d"))}};
            }
            if (r.sequence == 1) {
                return {{ScriptedWirePeer::ReplyTo(r, 0, 0, QByteArray::fromHex("310702"))}};
            }
            return {{{}, 0, true}};
        });
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable({{3, peer->DevicePath()}})};
        Byte a = 0xFF;
        std::int32_t handle = -1;
        QCOMPARE(library.OpenComPort(3, a, handle), result::kOk);
        QCOMPARE(getInfo(library, 3).result, result::kOk);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(getInfo(library, 3).result, result::kCommError);
        QVERIFY(clock.elapsed() < kCallBoundMs);
        QTRY_VERIFY_WITH_TIMEOUT(!library.IsLinkOpen(), 3000);
        QTest::qWait(100);  // let the event loop see the dead port, if it still watched it
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(getInfo(library, 3).result, result::kCommError);
        }
        QCOMPARE(library.SerialHangUps(), 1);
        QCOMPARE(peer->Requests().size(), 3);
    }

    // IF2 reads what has arrived without waiting, at most a buffer full at a time.
    void if2ReadsWithoutBlocking() {
        auto peer = ScriptedWirePeer::OpenPty([](const Request&) -> Steps { return {}; });
        QVERIFY(peer);
        WireGateLibrary library{gate::ComPortTable({{9, peer->DevicePath()}})};
        QCOMPARE(library.OpenIF2(9), result::kOk);
        std::array<Byte, 20> buffer{};
        std::int32_t count = -1;
        QCOMPARE(library.GetIF2Data(buffer, count), result::kOk);
        QCOMPARE(count, 0);

        QByteArray sent;
        for (int i = 0; i < 50; ++i) {
            sent.append(char(i * 7));
        }
        QVERIFY(peer->SendOnPty(sent));
        QByteArray received;
        QElapsedTimer clock;
        clock.start();
        while (received.size() < sent.size() && clock.elapsed() < 5000) {
            QCOMPARE(library.GetIF2Data(buffer, count), result::kOk);
            QVERIFY(count >= 0 && count <= int(buffer.size()));
            received.append(reinterpret_cast<const char*>(buffer.data()), count);
            if (count == 0) {
                QTest::qWait(10);
            }
        }
        QCOMPARE(received, sent);
        QCOMPARE(library.CloseIF2(8), result::kCommError);
        QCOMPARE(library.CloseIF2(9), result::kOk);
        QCOMPARE(library.GetIF2Data(buffer, count), result::kCommError);
        QCOMPARE(count, 0);
    }
};

QTEST_GUILESS_MAIN(TestGateLibraryLinks)
#include "test_gate_library_links.moc"
