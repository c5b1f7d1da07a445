#include <QElapsedTimer>
#include <QTest>

#include "gate_library_sim_rig.h"

#include <memory>

// The console's gate library against gate-sim, over TCP loopback and over a pseudo-terminal.

using namespace library_sim;

namespace {
constexpr std::uint8_t kAcknowledgeCommand = 0x1F;
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

    // An acknowledgement whose reply was lost is repeated before the next fetch that delivers,
    // so what was shown is deleted once and never delivered again; when the repeat is lost too
    // that fetch is not sent (it would deliver the same again) and the next one repeats it.
    void lostAcknowledgementIsRepeated_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("fetch");
        QTest::addColumn<int>("faultKind");
        QTest::addColumn<int>("losses");
        using K = sim::Fault::Kind;
        for (const char* t : {"tcp", "pty"}) {
            const QString tr = QLatin1String(t);
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(tr + u' ' + QLatin1String(name)));
            };
            row("channel, request lost") << tr << "channel" << int(K::Drop) << 1;
            row("EAS, request lost") << tr << "eas" << int(K::Drop) << 1;
            row("earliest record, request lost") << tr << "record" << int(K::Drop) << 1;
            row("channel, repeat lost too") << tr << "channel" << int(K::Drop) << 2;
            row("channel, reply late") << tr << "channel" << int(K::Delay) << 1;
            row("EAS, reply corrupt") << tr << "eas" << int(K::CorruptCrc) << 1;
        }
    }
    void lostAcknowledgementIsRepeated() {
        QFETCH(QString, transport);
        QFETCH(QString, fetch);
        QFETCH(int, faultKind);
        QFETCH(int, losses);
        Rig rig;
        QVERIFY(rig.Start(transport));
        auto& lib = *rig.library;
        if (fetch == QLatin1String("eas")) {
            Byte mode = 0x81;
            QCOMPARE(lib.ModeSwitch(rig.a, mode, rig.s, rig.h), 0);
        }
        rig.simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(3, hex("180506090807"));
            m.PushEasMessage(0x21, hex("180506090807"));
            m.AppendRecord(4, hex("180506090807"));
        });
        std::array<Byte, gate::kMessageBufferSize> buffer{};
        Byte length = 0;
        Byte kind = 0;
        const auto Fetch = [&] {
            if (fetch == QLatin1String("channel")) {
                return lib.GetChannelMessage(rig.a, buffer, length, kind, rig.s, rig.h);
            }
            if (fetch == QLatin1String("eas")) {
                return lib.GetEASMessage(rig.a, buffer, length, kind, rig.s, rig.h);
            }
            return lib.RetrieveEarliestRecord(rig.a, buffer, length, kind, rig.s, rig.h);
        };
        QCOMPARE(Fetch(), 0);
        QVERIFY(kind != gate::wire::kNothingPending);

        sim::Fault fault{static_cast<sim::Fault::Kind>(faultKind), 800, 0, kAcknowledgeCommand};
        rig.simulator.AddFault(fault, losses);
        QVERIFY(lib.Acknowledge(rig.a, rig.h) != 0);
        for (int lost = 1; lost < losses; ++lost) {
            QCOMPARE(Fetch(), result::kCommError);
            QCOMPARE(int(length), 0);
        }
        QCOMPARE(Fetch(), 0);
        QCOMPARE(int(kind), int(gate::wire::kNothingPending));
        if (fetch == QLatin1String("record")) {
            std::int32_t count = -1;
            QCOMPARE(rig.LogStatus(count), 0);
            QCOMPARE(count, 0);
        }
        // Resolved: later acknowledgements and fetches go on as usual.
        QCOMPARE(lib.Acknowledge(rig.a, rig.h), result::kNoRecord);
        QCOMPARE(Fetch(), 0);
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
