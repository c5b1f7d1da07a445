// gate-bridge end to end: the binary against in-process gate simulators and a real broker.
// Three gates in both modes deliver every message on its topic with the console's lines; the
// broker stopped and started again and the bridge killed and started again lose nothing and
// give no id to two messages; the last will follows a SIGKILL; a gate absent at start and a
// controller falling silent behind a live connection are seen; TLS with a password works; a bad
// site file is refused with its line.
#include "bridge_fixture.h"
#include "core/monitor/live_event.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>

class TestGateBridge : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void threeGatesInBothModesAndACleanStop() {
        QTemporaryDir dir;
        Broker broker;
        QVERIFY(broker.Start(dir.path(), {}, false));
        Subscriber sub;
        QVERIFY(sub.Start(broker.Port(), kBase + QStringLiteral("/#")));
        std::vector<std::unique_ptr<SimGate>> gates;
        gates.push_back(MakeGate(QStringLiteral("entrance-1"), false));
        gates.push_back(MakeGate(QStringLiteral("shop-eas"), true));
        gates.push_back(MakeGate(QStringLiteral("exit-2"), false));
        QList<std::pair<QString, int>> config;
        for (auto& g : gates) {
            QString error;
            QVERIFY2(g->Start(&error), qPrintable(error));
            g->options.tcpPort = g->sim->Endpoints().tcpPort;
            config.append({g->name, g->Port()});
        }
        // What each gate delivers, in order: every kind of both modes, a tagged passage, a
        // repeated no-person report and an unknown kind (spooled and acknowledged as well).
        const QList<QList<std::pair<int, QByteArray>>> messages{
            {{0, Hex("0123456789ABCDEF 31 180506090807 0A0B0C0D0E0F1011")},
             {1, Hex("0300 0200 0100 0500 180506090808")},
             {3, Hex("180506090809")},
             {4, Hex("18050609080A")}},
            {{0x00, Hex("04 180506090807")},
             {0x00, Hex("01 180506090808")},
             {0x00, Hex("04 180506090807")},  // equal bytes, a second alarm
             {0x20, Hex("0100 0200 0300 180506090809")},
             {0x21, Hex("18050609080A")},
             {0x22, Hex("18050609080B")}},
            {{0, Hex("0000000000000000 01 180506090807")},
             {0, Hex("0000000000000000 01 180506090808")},
             {2, Hex("FEDCBA9876543210 180506090809 03 AABBCCDD")},
             {9, Hex("0102")}},
        };
        for (std::size_t i = 0; i < gates.size(); ++i) {
            for (const auto& [kind, body] : messages.at(i)) {
                gates.at(i)->Push(kind, body);
            }
        }
        Bridge bridge;
        QVERIFY(bridge.Start(SiteFile(dir, broker.Port(), config)));
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size(), 14, 15000);
        for (auto& g : gates) {
            QTRY_COMPARE_WITH_TIMEOUT(g->Queued(), 0, 3000);
        }
        QSet<QString> ids;
        for (std::size_t i = 0; i < gates.size(); ++i) {
            const QList<Subscriber::Message> got =
                sub.On(u'/' + gates.at(i)->name + QStringLiteral("/event"));
            QCOMPARE(got.size(), messages.at(i).size());
            QString marker;
            for (qsizetype j = 0; j < got.size(); ++j) {
                const QJsonObject o = got.at(j).Json();
                const auto& [kind, body] = messages.at(i).at(j);
                const monitor::MessageBody mb(body);
                QCOMPARE(o.value(QStringLiteral("gate")).toString(), gates.at(i)->name);
                QCOMPARE(o.value(QStringLiteral("body")).toString(),
                         QString::fromLatin1(body.toHex().toUpper()));
                QCOMPARE(o.value(QStringLiteral("mode")).toString(),
                         gates.at(i)->eas ? QStringLiteral("eas") : QStringLiteral("channel"));
                QCOMPARE(o.value(QStringLiteral("event")).toString(),
                         monitor::LiveEventName(gates.at(i)->eas, kind, mb));
                // The console's lines for this message, in the order it shows them.
                QJsonArray expected;
                for (const auto& [list, text] :
                     monitor::LiveMessageLines(gates.at(i)->eas, kind, mb, marker,
                                               util::TextTable::Source())
                         .lines) {
                    expected.append(
                        QJsonObject{{QStringLiteral("list"), monitor::ListObjectName(list)},
                                    {QStringLiteral("text"), text}});
                }
                QCOMPARE(o.value(QStringLiteral("lines")).toArray(), expected);
                ids.insert(o.value(QStringLiteral("id")).toString());
            }
        }
        QCOMPARE(ids.size(), 14);
        // The tagged passage: forward by the live rule, its tag data and both lines.
        const QJsonObject tagged = sub.On(QStringLiteral("entrance-1/event")).first().Json();
        QCOMPARE(tagged.value(QStringLiteral("direction")).toString(), QStringLiteral("forward"));
        QCOMPARE(tagged.value(QStringLiteral("tag_data")).toString(),
                 QStringLiteral("0A0B0C0D0E0F1011"));
        QCOMPARE(tagged.value(QStringLiteral("lines")).toArray().size(), 3);
        QCOMPARE(
            sub.On(QStringLiteral("shop-eas/event")).first().Json().value(QStringLiteral("alarm")),
            QJsonValue(true));

        for (auto& g : gates) {
            QTRY_VERIFY_WITH_TIMEOUT(
                sub.Payloads(u'/' + g->name + QStringLiteral("/availability")).contains("online"),
                3000);
        }
        QVERIFY(sub.Payloads(QStringLiteral("/bridge/state")).contains("online"));
        const auto lastState = [&] {
            const auto states = sub.On(QStringLiteral("shop-eas/state"));
            return states.isEmpty() ? QJsonObject() : states.last().Json();
        };
        QTRY_COMPARE_WITH_TIMEOUT(lastState().value(QStringLiteral("mode")).toString(),
                                  QStringLiteral("eas"), 5000);
        const QJsonObject state = lastState();
        QCOMPARE(state.value(QStringLiteral("link")).toString(), QStringLiteral("up"));
        QVERIFY(state.contains(QStringLiteral("records")));

        // A clean stop: every gate and then the bridge offline.
        QCOMPARE(bridge.Terminate(), 0);
        for (auto& g : gates) {
            QTRY_COMPARE_WITH_TIMEOUT(
                sub.Payloads(u'/' + g->name + QStringLiteral("/availability")).last(),
                QByteArray("offline"), 3000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("/bridge/state")).last(),
                                  QByteArray("offline"), 3000);
        QVERIFY2(bridge.Log().contains(QStringLiteral("entrance-1: up")), qPrintable(bridge.Log()));
    }

    void nothingLostThroughBrokerAndBridgeRestarts() {
        QTemporaryDir dir;
        Broker broker;
        QVERIFY(broker.Start(dir.path()));
        Subscriber sub;
        QVERIFY(sub.Start(broker.Port(), kBase + QStringLiteral("/#"), QStringLiteral("test-sub")));
        auto gate = MakeGate(QStringLiteral("g1"), false);
        QString error;
        QVERIFY2(gate->Start(&error), qPrintable(error));
        gate->options.tcpPort = gate->sim->Endpoints().tcpPort;
        const QString site = SiteFile(dir, broker.Port(), {{gate->name, gate->Port()}});
        Bridge bridge;
        QVERIFY(bridge.Start(site));
        const auto push = [&](int from, int to) {
            for (int n = from; n <= to; ++n) {
                gate->Push(3, Numbered(n));
            }
        };
        push(1, 10);
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size(), 10, 10000);

        // The broker away for seconds: the bridge keeps acknowledging into its spool.
        broker.Stop();
        push(11, 20);
        QTRY_COMPARE_WITH_TIMEOUT(gate->Queued(), 0, 5000);
        QTest::qWait(3000);
        QVERIFY(broker.Restart());
        QTRY_VERIFY_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size() >= 20, 15000);

        // The bridge killed in the middle of a stream, then started again.
        push(21, 60);
        QTRY_VERIFY_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size() >= 25, 10000);
        bridge.Kill();
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("/bridge/state")).last(),
                                  QByteArray("offline"), 15000);  // the last will
        Bridge again;
        QVERIFY(again.Start(site));
        QTRY_COMPARE_WITH_TIMEOUT(gate->Queued(), 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("/bridge/state")).last(),
                                  QByteArray("online"), 5000);

        // Every message arrived; an id names one message only, and a message has one id.
        QHash<QString, QString> bodyOfId;
        QHash<QString, QSet<QString>> idsOfBody;
        const auto collect = [&] {
            bodyOfId.clear();
            idsOfBody.clear();
            for (const auto& m : sub.On(QStringLiteral("/event"))) {
                const QJsonObject o = m.Json();
                const QString id = o.value(QStringLiteral("id")).toString();
                const QString body = o.value(QStringLiteral("body")).toString();
                if (bodyOfId.contains(id) && bodyOfId.value(id) != body) {
                    return false;
                }
                bodyOfId.insert(id, body);
                idsOfBody[body].insert(id);
            }
            return idsOfBody.size() == 60;
        };
        QTRY_VERIFY_WITH_TIMEOUT(collect(), 15000);
        for (int n = 1; n <= 60; ++n) {
            const QString body = QString::fromLatin1(Numbered(n).toHex().toUpper());
            QCOMPARE(idsOfBody.value(body).size(), 1);
        }
        QCOMPARE(again.Terminate(), 0);
        QVERIFY2(bridge.Log().contains(QStringLiteral("lost")) ||
                     again.Log().contains(QStringLiteral("spool")),
                 qPrintable(bridge.Log()));
    }

    void absentGateComesAndSilentControllerGoesOffline() {
        QTemporaryDir dir;
        Broker broker;
        QVERIFY(broker.Start(dir.path(), {}, false));
        Subscriber sub;
        QVERIFY(sub.Start(broker.Port(), kBase + QStringLiteral("/#")));
        auto quiet = MakeGate(QStringLiteral("quiet"), false);
        QString error;
        QVERIFY2(quiet->Start(&error), qPrintable(error));
        quiet->options.tcpPort = quiet->sim->Endpoints().tcpPort;
        auto late = MakeGate(QStringLiteral("late"), false, FreeLoopbackPort());
        Bridge bridge;
        QVERIFY(bridge.Start(SiteFile(dir, broker.Port(),
                                      {{quiet->name, quiet->Port()}, {late->name, late->Port()}})));
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("late/availability")),
                                  QByteArrayList{"offline"}, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("quiet/availability")).last(),
                                  QByteArray("online"), 5000);

        // The connection stays up while the controller answers nothing.
        QElapsedTimer silent;
        silent.start();
        quiet->sim->AddFault(sim::Fault{sim::Fault::Kind::Drop}, 5);
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("quiet/availability")).last(),
                                  QByteArray("offline"), 5000);
        QVERIFY2(silent.elapsed() < 3000, qPrintable(QString::number(silent.elapsed())));
        quiet->Push(3, Numbered(1));
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("quiet/availability")).last(),
                                  QByteArray("online"), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("quiet/event")).size(), 1, 5000);

        // The absent gate comes.
        QVERIFY2(late->Start(&error), qPrintable(error));
        late->Push(3, Numbered(2));
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("late/availability")).last(),
                                  QByteArray("online"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("late/event")).size(), 1, 5000);
        // And goes: its simulator stops, its availability follows within 3 s.
        QElapsedTimer gone;
        gone.start();
        late->sim->Stop();
        QTRY_COMPARE_WITH_TIMEOUT(sub.Payloads(QStringLiteral("late/availability")).last(),
                                  QByteArray("offline"), 5000);
        QVERIFY(gone.elapsed() < 3000);
        QCOMPARE(bridge.Terminate(), 0);
    }

    void tlsWithAPassword() {
        QTemporaryDir dir;
        const auto run = [](const QString& program, const QStringList& args) {
            QProcess p;
            p.start(program, args);
            return p.waitForFinished(30000) && p.exitCode() == 0;
        };
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        QVERIFY(
            run(QStringLiteral("openssl"),
                {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                 QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                 key, QStringLiteral("-out"), cert, QStringLiteral("-days"), QStringLiteral("2"),
                 QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                 QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")}));
        const QString passwords = dir.filePath(QStringLiteral("passwd"));
        QVERIFY(run(QStringLiteral("mosquitto_passwd"),
                    {QStringLiteral("-c"), QStringLiteral("-b"), passwords,
                     QStringLiteral("bridge"), QStringLiteral("s3cret")}));
        QFile pass(dir.filePath(QStringLiteral("bridge.pass")));
        QVERIFY(pass.open(QIODevice::WriteOnly));
        pass.write("s3cret\n");
        pass.close();
        Broker broker;
        QVERIFY(broker.Start(dir.path(),
                             QStringLiteral("allow_anonymous false\npassword_file %1\ncafile %2\n"
                                            "certfile %2\nkeyfile %3\n")
                                 .arg(passwords, cert, key),
                             false));
        Subscriber sub;
        QVERIFY(
            sub.Start(broker.Port(), kBase + QStringLiteral("/#"), {},
                      {QStringLiteral("--cafile"), cert, QStringLiteral("-u"),
                       QStringLiteral("bridge"), QStringLiteral("-P"), QStringLiteral("s3cret")}));
        auto gate = MakeGate(QStringLiteral("secure"), false);
        QString error;
        QVERIFY2(gate->Start(&error), qPrintable(error));
        gate->options.tcpPort = gate->sim->Endpoints().tcpPort;
        gate->Push(4, Numbered(1));
        Bridge bridge;
        QVERIFY(
            bridge.Start(SiteFile(dir, broker.Port(), {{gate->name, gate->Port()}},
                                  QStringLiteral("username = \"bridge\"\npassword_file = \"%1\"\n"
                                                 "ca_file = \"%2\"\n")
                                      .arg(pass.fileName(), cert))));
        QTRY_COMPARE_WITH_TIMEOUT(sub.On(QStringLiteral("secure/event")).size(), 1, 15000);
        QCOMPARE(
            sub.On(QStringLiteral("secure/event")).first().Json().value(QStringLiteral("event")),
            QJsonValue(QStringLiteral("infrared_alarm")));
        QCOMPARE(bridge.Terminate(), 0);
    }

    void badSiteFileIsRefusedWithItsLine() {
        QTemporaryDir dir;
        const QString site = SiteFile(dir, 1883, {{QStringLiteral("a"), 6000}});
        QFile f(site);
        QVERIFY(f.open(QIODevice::Append));
        f.write("[[gate]]\nname = \"a\"\ntcp = \"127.0.0.1:6001\"\n");
        f.close();
        QProcess check;
        check.start(QStringLiteral(GATE_BRIDGE_PATH),
                    {QStringLiteral("--check"), QStringLiteral("--config"), site});
        QVERIFY(check.waitForFinished(10000));
        QCOMPARE(check.exitCode(), 2);
        const QString err = QString::fromUtf8(check.readAllStandardError());
        QCOMPARE(err.count(u'\n'), 1);
        QVERIFY2(err.startsWith(QStringLiteral("gate-bridge: ") + site +
                                QStringLiteral(":18: gate[2].name: ")),
                 qPrintable(err));
        // The daemon refuses it the same way, before it connects to anything.
        QProcess run;
        run.start(QStringLiteral(GATE_BRIDGE_PATH), {QStringLiteral("--config"), site});
        QVERIFY(run.waitForFinished(10000));
        QCOMPARE(run.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(run.readAllStandardError()), err);
    }
};

QTEST_GUILESS_MAIN(TestGateBridge)
#include "test_gate_bridge.moc"
