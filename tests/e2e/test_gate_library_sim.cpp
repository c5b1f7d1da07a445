#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>
#include <future>
#include <thread>

#include "fault_plan.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"
#include "model_settings.h"

#include <memory>

// The console's gate library against gate-sim, over TCP loopback and over a pseudo-terminal.
using gate::Byte;
using gate::WireGateLibrary;
namespace result = gate::result;

namespace {

constexpr int kCom = 1;
constexpr qint64 kCallBoundMs = 2500;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// A simulator with both lines, and the library connected over one of them.
struct Rig {
    sim::GateSimulator simulator;
    sim::SimulatorOptions options;
    std::unique_ptr<WireGateLibrary> library;
    std::int32_t h = -1;
    Byte a = 0xFF;
    Byte s = 0xEE;
    // The pseudo-terminal plays a USB adapter with a serial number: the devices the system
    // reports are the test's, and so is the clock of the reconnect schedule.
    QList<gate::SerialDevice> present;
    int listings = 0;
    qint64 nowMs = 0;

    static gate::SerialDevice Adapter(const QString& path) {
        gate::SerialDevice d;
        d.path = path;
        d.name = path.section(u'/', -1);
        d.serialNumber = QStringLiteral("FT4K2Q9A");
        d.vendorId = 0x0403;
        d.productId = 0x6001;
        return d;
    }

    // beforeOpen may set what the system reports (present) once the line's path is known.
    bool Start(const QString& transport,
               const std::function<void(const QString&)>& beforeOpen = nullptr) {
        options.tcpPort = 0;
        options.pty = true;
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("start: %s", qPrintable(error));
            return false;
        }
        const sim::SimulatorEndpoints ends = simulator.Endpoints();
        options.tcpPort = ends.tcpPort;  // a restart comes back on the same port
        gate::ComPortTable table({{kCom, ends.ptyPath}});
        table.SetDevice(kCom, Adapter(ends.ptyPath));
        present = {Adapter(ends.ptyPath)};  // the system reports the adapter when opened
        if (beforeOpen) {
            beforeOpen(ends.ptyPath);
        }
        library = std::make_unique<WireGateLibrary>(
            table,
            [this] {
                ++listings;
                return present;
            },
            [this] { return nowMs; });
        if (transport == QLatin1String("tcp")) {
            return library->OpenNetPort(ends.tcpPort, QStringLiteral("127.0.0.1"), a, h) == 0;
        }
        a = 0x01;
        return library->OpenComPort(kCom, a, h) == 0;
    }
    void AddFault(const QString& text) {
        sim::Fault f;
        int count = 0;
        const QStringList words = text.split(u' ');
        QVERIFY(sim::ParseFault(words[0], words.mid(1), f, count, nullptr));
        simulator.AddFault(f, count);
    }
    int Info(Byte* product = nullptr) {
        Byte p = 0;
        Byte ma = 0;
        Byte mi = 0;
        const int r = library->GetControllerInfo(a, p, ma, mi, s, h);
        if (product != nullptr) {
            *product = p;
        }
        return r;
    }
    int LogStatus(std::int32_t& count) {
        gate::Clock6 e{};
        gate::Clock6 l{};
        return library->GetBGLogDataStatus(a, count, e, l, s, h);
    }
};

void addTransports() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("tcp") << QStringLiteral("tcp");
    QTest::newRow("pty") << QStringLiteral("pty");
}

}  // namespace

class TestGateLibrarySim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identityModeAndDeviceCommands_data() { addTransports(); }
    void identityModeAndDeviceCommands() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.Start(transport));
        auto& lib = *rig.library;
        Byte& a = rig.a;
        Byte& s = rig.s;
        const std::int32_t h = rig.h;

        Byte product = 0;
        Byte major = 0;
        Byte minor = 0;
        QCOMPARE(lib.GetControllerInfo(a, product, major, minor, s, h), 0);
        QCOMPARE(int(product), 0x31);
        QCOMPARE(int(major), 7);
        QCOMPARE(int(s), 0);
        std::array<Byte, 4> serial{};
        QCOMPARE(lib.GetControllerDetailedInfo(a, product, major, minor, serial, s, h), 0);

        Byte mode = 0;
        QCOMPARE(lib.ModeSwitch(a, mode, s, h), 0);
        QCOMPARE(int(mode), 0);
        mode = 0x81;
        QCOMPARE(lib.ModeSwitch(a, mode, s, h), 0);
        QCOMPARE(int(mode), 1);
        mode = 0x80;
        QCOMPARE(lib.ModeSwitch(a, mode, s, h), 0);
        QCOMPARE(int(mode), 0);

        gate::Clock6 clock{24, 5, 6, 9, 8, 7};
        QCOMPARE(lib.SetClock(a, clock, s, h), 0);
        gate::Clock6 read{};
        QCOMPARE(lib.GetClock(a, read, s, h), 0);
        QCOMPARE(int(read[0]), 24);
        QCOMPARE(int(read[1]), 5);
        QCOMPARE(int(read[2]), 6);

        QCOMPARE(lib.SetRelay(a, 3, s, h), 0);
        QCOMPARE(lib.BuzzerAndLEDControl(a, 1, 1, 1, 1, 1, 1, 0, s, h), 0);
        QCOMPARE(lib.SetIR(a, 1, s, h), 0);
        Byte ir = 9;
        QCOMPARE(lib.GetIRStatus(a, ir, s, h), 0);
        QCOMPARE(int(ir), 0);  // off
        QCOMPARE(lib.SetIR(a, 2, s, h), 0);
        QCOMPARE(lib.GetIRStatus(a, ir, s, h), 0);
        QCOMPARE(int(ir), 1);  // on
        Byte recording = 9;
        QCOMPARE(lib.GetBGLogDataRecordingStatus(a, recording, s, h), 0);
        Byte link = 9;
        Byte rf = 9;
        QCOMPARE(lib.GetControllerReaderConnectionStatus(a, link, rf, s, h), 0);
        QCOMPARE(lib.ClearControllerBuffer(a, s, h), 0);
    }

    void configurationAndSwitches_data() { addTransports(); }
    void configurationAndSwitches() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.Start(transport));
        auto& lib = *rig.library;
        Byte& a = rig.a;
        Byte& s = rig.s;
        const std::int32_t h = rig.h;

        Byte b[8] = {};
        QCOMPARE(lib.GetControllerConfig(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], s, h),
                 0);
        b[2] = Byte(b[2] + 1);
        QCOMPARE(lib.ConfigureController(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], s, h),
                 0);
        Byte c[8] = {};
        QCOMPARE(lib.GetControllerConfig(a, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], s, h),
                 0);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(c), 8),
                 QByteArray(reinterpret_cast<char*>(b), 8));

        Byte control = 0;
        Byte lead = 0;
        Byte lag = 0;
        QCOMPARE(lib.TagPersonCorrelation(a, control, lead, lag, s, h), 0);
        Byte repeat = 0;
        Byte start = 0;
        Byte count = 0;
        control = 0;
        QCOMPARE(lib.ReadTagDataSetting(a, control, repeat, start, count, s, h), 0);

        Byte address = a;
        QCOMPARE(lib.SetControllerAddr(address, 0, 0, s, h), 0);
        QCOMPARE(int(address), 0x01);

        Byte request = 0;
        QCOMPARE(lib.IRDirectionSetting(a, request, s, h), 0);
        request = 0;
        QCOMPARE(lib.ControllerReaderConnectionBrokenAlarm(a, request, s, h), 0);
        Byte onOff = 0;
        QCOMPARE(lib.SetBGLogDataStatus(a, onOff, s, h), 0);
        QCOMPARE(lib.SaveRestoreConfig(a, 1, s, h), 0);
        QCOMPARE(lib.SetAutoLoad(a, 0, s, h), 0);

        std::array<Byte, gate::kAlarmMaskReplySize> maskReply{};
        QCOMPARE(lib.SetAlarmMask(a, 0x1F, maskReply, s, h), 0);
        std::array<Byte, gate::kAlarmPatternSize> pattern{};
        pattern.fill(1);
        QCOMPARE(lib.SetAlarmPattern(a, pattern, s, h), 0);

        gate::Uid8 uid{1, 2, 3, 4, 5, 6, 7, 8};
        std::array<Byte, 80> data{};
        QCOMPARE(lib.ReadTagData(a, uid, 0, 16, 4, data, s, h), 0);
        QCOMPARE(lib.ReadTagData(a, uid, 0, 8, 8, data, s, h), 0);
    }

    // The address changes twice from the address the link was opened with (0xFF over TCP,
    // 0x01 given explicitly on the serial line, each read back first): every change answers
    // success, A follows the controller, and the next command reaches it at its new address.
    void addressChanges_data() { addTransports(); }
    void addressChanges() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.Start(transport));
        auto& lib = *rig.library;
        Byte& a = rig.a;
        QCOMPARE(lib.SetControllerAddr(a, 0, 0, rig.s, rig.h), 0);
        QCOMPARE(int(a), 0x01);
        for (const Byte next : {Byte(0x22), Byte(0x3C)}) {
            QCOMPARE(lib.SetControllerAddr(a, 1, next, rig.s, rig.h), 0);
            QCOMPARE(int(a), int(next));
            QCOMPARE(rig.Info(), 0);
            Byte held = 0;
            rig.simulator.WithModel([&](sim::ControllerModel& m) { held = m.State().address; });
            QCOMPARE(int(held), int(next));
        }
    }

    void messagesAndRecords_data() { addTransports(); }
    void messagesAndRecords() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.Start(transport));
        auto& lib = *rig.library;
        Byte& a = rig.a;
        Byte& s = rig.s;
        const std::int32_t h = rig.h;
        rig.simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(3, hex("180506090807"));
            m.PushEasMessage(0x21, hex("180506090807"));
            m.AppendRecord(4, hex("180506090807"));
            m.AppendRecord(3, hex("180506090808"));
        });

        std::array<Byte, gate::kMessageBufferSize> message{};
        Byte length = 0;
        Byte kind = 0;
        QCOMPARE(lib.GetChannelMessage(a, message, length, kind, s, h), 0);
        QCOMPARE(int(kind), 3);
        QCOMPARE(int(length), 6);
        QCOMPARE(int(message[5]), 7);
        QCOMPARE(lib.Acknowledge(a, h), 0);
        QCOMPARE(lib.GetChannelMessage(a, message, length, kind, s, h), 0);
        QCOMPARE(int(kind), int(gate::wire::kNothingPending));
        QCOMPARE(int(length), 0);

        Byte mode = 0x81;
        QCOMPARE(lib.ModeSwitch(a, mode, s, h), 0);
        QCOMPARE(lib.GetEASMessage(a, message, length, kind, s, h), 0);
        QCOMPARE(int(kind), 0x21);
        QCOMPARE(lib.Acknowledge(a, h), 0);

        std::int32_t count = 0;
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(count, 2);
        std::array<Byte, gate::kRecordBufferSize> record{};
        QCOMPARE(lib.RetrieveRecordByIndex(a, 2, record, length, kind, s, h), 0);
        QCOMPARE(int(kind), 3);
        QCOMPARE(lib.RetrieveEarliestRecord(a, record, length, kind, s, h), 0);
        QCOMPARE(int(kind), 4);
        QCOMPARE(lib.Acknowledge(a, h), 0);
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(count, 1);
        QCOMPARE(lib.DeleteAllRecord(a, s, h), 0);
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(count, 0);
        QCOMPARE(lib.RetrieveEarliestRecord(a, record, length, kind, s, h), 0);
        QCOMPARE(int(kind), int(gate::wire::kNothingPending));
    }

    // Each line fault gives its code within the bound, and the next call is whole again.
    void faults_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected");
        for (const char* t : {"tcp", "pty"}) {
            const QString tr = QLatin1String(t);
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(tr + u' ' + QLatin1String(name)));
            };
            row("drop") << tr << QStringLiteral("drop") << result::kCommError;
            row("corrupt-crc") << tr << QStringLiteral("corrupt-crc") << result::kCrcError;
            row("truncate") << tr << QStringLiteral("truncate") << result::kCommError;
            row("garbage") << tr << QStringLiteral("garbage") << result::kOk;
            row("busy") << tr << QStringLiteral("busy") << result::kBusy;
            row("result 9") << tr << QStringLiteral("result 9") << 9;
            row("late reply") << tr << QStringLiteral("delay 800") << result::kCommError;
            row("short delay") << tr << QStringLiteral("delay 100") << result::kOk;
        }
    }
    void faults() {
        QFETCH(QString, transport);
        QFETCH(QString, fault);
        QFETCH(int, expected);
        Rig rig;
        QVERIFY(rig.Start(transport));
        rig.AddFault(fault);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.Info(), expected);
        QVERIFY2(clock.elapsed() < kCallBoundMs, qPrintable(QString::number(clock.elapsed())));
        // The late reply of "delay 800" arrives during this call and must not be taken for it:
        // the sequence number tells them apart.
        std::int32_t count = -1;
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(count, 0);
        QCOMPARE(rig.Info(), 0);
    }

    // A lost link comes back by itself. The call that lost it answers 48; while the line stays
    // away, calls answer 48 at once and try again at most once a second; once it is there the
    // next try reopens it (TCP on the same port, the adapter under its new device name found by
    // its serial number) and calls succeed. Closing by hand ends the tries.
    void lostLinkComesBackByItself_data() { addTransports(); }
    void lostLinkComesBackByItself() {
        QFETCH(QString, transport);
        const bool tcp = transport == QLatin1String("tcp");
        Rig rig;
        QVERIFY(rig.Start(transport));
        QList<gate::LinkEvent> events;
        rig.library->SetLinkObserver([&](gate::LinkEvent e) { events.append(e); });
        QCOMPARE(rig.Info(), 0);

        rig.AddFault(QStringLiteral("disconnect"));
        QCOMPARE(rig.Info(), result::kCommError);
        QCOMPARE(events, QList<gate::LinkEvent>{gate::LinkEvent::Lost});
        QVERIFY(rig.library->IsReconnecting());
        if (tcp) {
            rig.simulator.Stop();  // the module restarts: nobody listens for a while
        }

        // Away: the first call tries at once, the next ones within the second do not.
        const int listedBefore = rig.listings;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.Info(), result::kCommError);
        QCOMPARE(rig.library->ReopenTries(), 1);
        rig.nowMs += 999;
        QCOMPARE(rig.Info(), result::kCommError);
        QCOMPARE(rig.library->ReopenTries(), 1);
        QVERIFY2(clock.elapsed() < kCallBoundMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(rig.listings - listedBefore, tcp ? 0 : 1);

        // Back: on the same port, or as the same adapter under the name it has now, beside
        // another adapter that must not be taken for it.
        if (tcp) {
            QString error;
            QVERIFY2(rig.simulator.Start(rig.options, &error), qPrintable(error));
        } else {
            gate::SerialDevice other = Rig::Adapter(QStringLiteral("/dev/null"));
            other.serialNumber = QStringLiteral("A90K3X1B");
            rig.present = {other, Rig::Adapter(rig.simulator.Endpoints().ptyPath)};
        }
        rig.nowMs += 1;
        QCOMPARE(rig.Info(), 0);
        QCOMPARE(events,
                 (QList<gate::LinkEvent>{gate::LinkEvent::Lost, gate::LinkEvent::Restored}));
        QVERIFY(!rig.library->IsReconnecting());

        // Closed by hand while down: no more tries, the handle is dead.
        rig.AddFault(QStringLiteral("disconnect"));
        QCOMPARE(rig.Info(), result::kCommError);
        if (tcp) {
            QCOMPARE(rig.library->CloseNetPort(rig.h), 0);
        } else {
            QCOMPARE(rig.library->CloseComPort(), 0);
        }
        QCOMPARE(events.back(), gate::LinkEvent::Ended);
        const int listings = rig.listings;
        rig.nowMs += 5000;
        QCOMPARE(rig.Info(), result::kCommError);
        QCOMPARE(rig.library->ReopenTries(), 0);
        QCOMPARE(rig.listings, listings);
        QVERIFY(!rig.library->IsLinkOpen());
    }

    // A reopened link counts as back only when the controller behind it is the one of the
    // open, reached through the adapter that was opened; otherwise the library closes it or
    // keeps trying, and never lets a call through to another gate.
    void reopenReachesTheSameControllerOnly_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QList<gate::LinkEvent>>("events");
        QTest::addColumn<bool>("back");
        using E = gate::LinkEvent;
        QTest::newRow("tcp: another controller behind the module")
            << "tcp"
            << "other serial" << QList<E>{E::Lost, E::OtherController} << false;
        QTest::newRow("pty: another controller behind the adapter")
            << "pty"
            << "other serial" << QList<E>{E::Lost, E::OtherController} << false;
        QTest::newRow("pty: a controller before version 7 is not reopened")
            << "pty"
            << "version 6" << QList<E>{E::NotReopened} << false;
        QTest::newRow("tcp: a controller before version 7 is reopened")
            << "tcp"
            << "version 6" << QList<E>{E::Lost, E::Restored} << true;
        QTest::newRow("pty: the twin of an adapter with the same serial number")
            << "pty"
            << "twin" << QList<E>{E::Lost} << false;
        QTest::newRow("pty: the adapter swapped since start-up comes back")
            << "pty"
            << "swapped" << QList<E>{E::Lost, E::Restored} << true;
        QTest::newRow("tcp: a module that drops every new connection at once")
            << "tcp"
            << "drops" << QList<E>{E::Lost} << false;
    }
    void reopenReachesTheSameControllerOnly() {
        QFETCH(QString, transport);
        QFETCH(QString, situation);
        QFETCH(QList<gate::LinkEvent>, events);
        QFETCH(bool, back);
        Rig rig;
        gate::SerialDevice swappedIn = Rig::Adapter({});
        swappedIn.serialNumber = QStringLiteral("B0B0B0B0");
        if (situation == QLatin1String("version 6")) {
            rig.options.settings.emplace_back(QStringLiteral("version"), QStringLiteral("6.09"));
        }
        QVERIFY(rig.Start(transport, [&](const QString& ptyPath) {
            if (situation == QLatin1String("twin")) {
                rig.present = {Rig::Adapter(ptyPath), Rig::Adapter(QStringLiteral("/dev/null"))};
            } else if (situation == QLatin1String("swapped")) {
                // The table was built with another adapter at this path.
                swappedIn.path = ptyPath;
                rig.present = {swappedIn};
            }
        }));
        QList<gate::LinkEvent> seen;
        rig.library->SetLinkObserver([&](gate::LinkEvent e) { seen.append(e); });
        QCOMPARE(rig.Info(), 0);

        rig.AddFault(QStringLiteral("disconnect"));
        QCOMPARE(rig.Info(), result::kCommError);
        if (situation == QLatin1String("other serial")) {
            rig.simulator.WithModel([](sim::ControllerModel& m) {
                return sim::ApplySetting(m, QStringLiteral("serial"), QStringLiteral("0A0B0C0D"));
            });
        } else if (situation == QLatin1String("drops")) {
            rig.AddFault(QStringLiteral("disconnect 50"));
        }
        const QString now = rig.simulator.Endpoints().ptyPath;
        if (situation == QLatin1String("twin")) {
            rig.present = {Rig::Adapter(now)};  // only the twin, under a new name
        } else if (situation == QLatin1String("swapped")) {
            swappedIn.path = now;
            rig.present = {Rig::Adapter(QStringLiteral("/dev/null")), swappedIn};
        } else {
            rig.present = {Rig::Adapter(now)};
        }

        // One try a second, three seconds long: calls in between answer at once.
        int result = -1;
        for (int second = 0; second < 3 && result != 0; ++second) {
            for (int call = 0; call < 5 && result != 0; ++call) {
                result = rig.Info();
            }
            rig.nowMs += gate::LinkTiming{}.reopenIntervalMs;
        }
        QCOMPARE(result == 0, back);
        QCOMPARE(seen, events);
        QCOMPARE(rig.library->IsLinkOpen(), back);
        if (seen.contains(gate::LinkEvent::OtherController)) {
            QVERIFY(rig.library->LastSystemError().contains(QStringLiteral("0A0B0C0D")));
            QVERIFY(rig.library->LastSystemError().contains(QStringLiteral("01020304")));
        }
        if (situation == QLatin1String("drops")) {
            // Every try reached the module and was dropped at once: one a second, not one a call.
            QCOMPARE(rig.library->ReopenTries(), 3);
        }
    }

    // A delete that cannot leave in time (the controller has stopped reading and the line is
    // full) is reported as failed and discarded: gate-sim never receives a byte of it, so it
    // does not run later, in front of the next request.
    void timedOutDeleteNeverReachesTheController() {
        Rig rig;
        QVERIFY(rig.Start(QStringLiteral("pty")));
        rig.simulator.WithModel([](sim::ControllerModel& m) {
            for (int i = 0; i < 5; ++i) {
                m.AppendRecord(8, QByteArray::fromHex("180506090807180506090900"));
            }
            return 0;
        });
        std::int32_t count = -1;
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(count, 5);

        // The controller stops reading: a request reaches its line server, which then waits
        // for the model that another thread holds; what is written to the line after it stays
        // in the device until the device is full.
        std::promise<void> release;
        std::promise<void> holding;
        std::thread stall([&] {
            rig.simulator.Shared().With([&](sim::ControllerModel&, sim::FaultPlan&) {
                holding.set_value();
                release.get_future().wait_for(std::chrono::seconds(10));
                return 0;
            });
        });
        holding.get_future().wait();
        const int filler = ::open(rig.simulator.Endpoints().ptyPath.toLocal8Bit().constData(),
                                  O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(filler >= 0);
        const QByteArray stopper = gate::wire::EncodeRequest(
            gate::wire::Request{0xFF, gate::wire::Code(gate::wire::Command::GetClock), 0x77, {}});
        QCOMPARE(::write(filler, stopper.constData(), stopper.size()), ssize_t(stopper.size()));
        QTest::qWait(200);  // the line server takes it and waits
        // Big blocks first, then ever smaller ones (the device takes a small write into the end
        // of its last buffer after refusing a big one), again after a pause (the system moves
        // bytes between its buffers for a moment), until not one byte more fits.
        const QByteArray noise(4096, '\0');
        bool full = false;
        for (int round = 0; round < 50 && !full; ++round) {
            for (qsizetype block = noise.size(); block > 0; block /= 2) {
                for (int i = 0; i < 4096 && ::write(filler, noise.constData(), size_t(block)) > 0;
                     ++i) {
                }
            }
            ::usleep(50'000);
            full = ::write(filler, noise.constData(), 1) < 0;
        }
        QVERIFY(full);
        ::close(filler);

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.library->DeleteAllRecord(rig.a, rig.s, rig.h), result::kCommError);
        QVERIFY2(clock.elapsed() < kCallBoundMs, qPrintable(QString::number(clock.elapsed())));
        release.set_value();
        stall.join();

        // The controller reads again; the next requests are answered and nothing was deleted.
        QTRY_COMPARE_WITH_TIMEOUT(rig.LogStatus(count), 0, 5000);
        QCOMPARE(count, 5);
        QTest::qWait(300);
        QCOMPARE(rig.Info(), 0);
        QCOMPARE(
            rig.simulator.WithModel([](sim::ControllerModel& m) { return m.Records().Count(); }),
            5);
    }

    // The reply status follows the record memory: 0, 1 at 85 % full, then 2 (full, stopped)
    // or 3 (full, overwriting) by the configured policy.
    void recordLogFillStates_data() {
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("fullStatus");
        QTest::addColumn<int>("countWhenFull");
        QTest::newRow("stop when full") << 0 << 2 << 20;
        QTest::newRow("overwrite when full") << 1 << 3 << 20;
    }
    void recordLogFillStates() {
        QFETCH(int, policy);
        QFETCH(int, fullStatus);
        QFETCH(int, countWhenFull);
        Rig rig;
        QVERIFY(rig.Start(QStringLiteral("tcp")));
        auto& lib = *rig.library;
        Byte b[8] = {};
        QCOMPARE(lib.GetControllerConfig(rig.a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7],
                                         rig.s, rig.h),
                 0);
        b[6] = Byte(policy);
        QCOMPARE(lib.ConfigureController(rig.a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7],
                                         rig.s, rig.h),
                 0);
        rig.simulator.WithModel([](sim::ControllerModel& m) { m.Records().SetCapacity(20); });
        std::int32_t count = 0;
        const auto append = [&](int n) {
            rig.simulator.WithModel([n](sim::ControllerModel& m) {
                for (int i = 0; i < n; ++i) {
                    m.AppendRecord(3, hex("180506090807"));
                }
            });
        };
        append(10);
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(int(rig.s), 0);
        append(8);
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(int(rig.s), 1);
        append(5);
        QCOMPARE(rig.LogStatus(count), 0);
        QCOMPARE(int(rig.s), fullStatus);
        QCOMPARE(count, countWhenFull);
    }
};

QTEST_GUILESS_MAIN(TestGateLibrarySim)
#include "test_gate_library_sim.moc"
