// gate-bridge's reload on SIGHUP: a gate added and one removed while another's events keep
// coming without a gap over its link, which is not reopened (gate-sim counts the connections it
// accepts); the removed gate's retained topics are cleared and its controller no longer polled;
// a broken file on reload changes nothing.
#include "bridge_fixture.h"

#include <QElapsedTimer>

#include <csignal>

namespace {

void WriteSite(const QString& path, const QString& text) {
    QFile f(path + QStringLiteral(".new"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(text.toUtf8());
        f.close();
        QFile::remove(path);
        f.rename(path);
    }
}

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

class TestBridgeReload : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gatesAddedAndRemovedWhileAnotherKeepsPolling() {
        BridgeRig rig;
        QVERIFY(rig.Start());
        auto& [dir, broker, sub, gates] = rig;
        for (const char* name : {"keep", "gone", "new"}) {
            QVERIFY(rig.AddGate(QString::fromLatin1(name)));
        }
        SimGate& keep = *gates.at(0);
        SimGate& gone = *gates.at(1);
        SimGate& added = *gates.at(2);
        const QString site =
            SiteFile(dir, broker.Port(), {{keep.name, keep.Port()}, {gone.name, gone.Port()}});
        const QString first = ReadText(site);
        Bridge bridge;
        QVERIFY(bridge.Start(site));
        for (SimGate* g : {&keep, &gone}) {
            QTRY_VERIFY_WITH_TIMEOUT(
                !sub.Payloads(u'/' + g->name + QStringLiteral("/availability")).isEmpty() &&
                    sub.Payloads(u'/' + g->name + QStringLiteral("/availability")).last() ==
                        "online",
                5000);
        }
        const int connections = keep.Accepted();
        QCOMPARE(connections, 1);

        // keep's events every 100 ms through two reloads, a good file and then a broken one.
        QList<qint64> seenAt;
        QElapsedTimer clock;
        clock.start();
        int pushed = 0;
        const auto run = [&](qint64 ms, const std::function<bool()>& done) {
            const qint64 until = clock.elapsed() + ms;
            for (int turn = 0; turn < 2000 && clock.elapsed() < until; ++turn) {
                if (clock.elapsed() >= 100 * pushed) {
                    keep.Push(3, Numbered(++pushed));
                }
                QTest::qWait(10);
                const qsizetype seen = sub.On(QStringLiteral("keep/event")).size();
                while (seenAt.size() < seen) {
                    seenAt.append(clock.elapsed());
                }
                if (done && done()) {
                    return true;
                }
            }
            return !done;
        };
        QVERIFY(run(500, {}));
        // SiteFile writes the same file again.
        QCOMPARE(
            SiteFile(dir, broker.Port(), {{keep.name, keep.Port()}, {added.name, added.Port()}}),
            site);
        bridge.Signal(SIGHUP);
        QVERIFY2(run(8000,
                     [&] {
                         const auto a = sub.Payloads(QStringLiteral("/new/availability"));
                         return !a.isEmpty() && a.last() == "online";
                     }),
                 qPrintable(bridge.Log()));
        QVERIFY(run(1000, {}));
        // The removed gate is no longer polled.
        gone.Push(3, Numbered(1));
        QVERIFY(run(1000, {}));
        QCOMPARE(gone.Queued(), 1);

        // A broken file: nothing changes, one line says why.
        WriteSite(site, first + QStringLiteral("[[gate]]\nname = \"x\"\ntcp = \"nowhere\"\n"));
        bridge.Signal(SIGHUP);
        QVERIFY(run(5000, [&] { return bridge.Log().contains(QStringLiteral("reload refused")); }));
        QVERIFY(run(1000, {}));
        QVERIFY2(bridge.Log().contains(site + QStringLiteral(":24: gate[3].tcp: ")),
                 qPrintable(bridge.Log()));
        QCOMPARE(bridge.Log().count(QStringLiteral("reload refused")), 1);
        QCOMPARE(sub.Payloads(QStringLiteral("/new/availability")).last(), QByteArray("online"));
        QCOMPARE(gone.Queued(), 1);

        // keep's events all came, in order, none later than 500 ms after the one before; over
        // the connection it had from the start.
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("keep/event")).size(), pushed, 3000);
        const auto events = sub.On(QStringLiteral("keep/event"));
        for (int i = 0; i < pushed; ++i) {
            QCOMPARE(events.at(i).Json().value(QStringLiteral("body")).toString(),
                     QString::fromLatin1(Numbered(i + 1).toHex().toUpper()));
        }
        for (qsizetype i = 1; i < seenAt.size(); ++i) {
            QVERIFY2(seenAt.at(i) - seenAt.at(i - 1) < 500,
                     qPrintable(QStringLiteral("a gap of %1 ms before event %2")
                                    .arg(seenAt.at(i) - seenAt.at(i - 1))
                                    .arg(i + 1)));
        }
        QCOMPARE(keep.Accepted(), connections);
        QCOMPARE(added.Accepted(), 1);

        // What a newcomer finds retained: keep and new, nothing of the removed gate.
        Subscriber late;
        QVERIFY(late.Start(broker.Port(), kBase + QStringLiteral("/#")));
        QTRY_VERIFY_WITH_TIMEOUT(!late.On(QStringLiteral("/new/state")).isEmpty(), 5000);
        QTest::qWait(300);
        QVERIFY(late.On(QStringLiteral("/gone/availability")).isEmpty());
        QVERIFY2(late.On(QStringLiteral("/gone/state")).isEmpty(),
                 late.Payloads(QStringLiteral("/gone/state")).join("|").constData());
        QCOMPARE(late.Payloads(QStringLiteral("/keep/availability")).last(), QByteArray("online"));
        QCOMPARE(bridge.Terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestBridgeReload)
#include "test_bridge_reload.moc"
