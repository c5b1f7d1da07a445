// The gate library's lost links against gate-sim: a reopened link reaches the same controller
// or none, at most once a second; a request whose write timed out never reaches the controller.
#include <QElapsedTimer>
#include <QTest>

#include "gate_library_sim_rig.h"
#include "model_settings.h"

#include <fcntl.h>
#include <unistd.h>
#include <future>
#include <thread>

using namespace library_sim;

class TestLinkIdentitySim : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestLinkIdentitySim)
#include "test_link_identity_sim.moc"
