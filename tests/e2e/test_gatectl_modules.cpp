// gatectl's module commands against module-sim on loopback: every parameter by name, a change
// written with both passes and read back, and a module found by its MAC. The "broadcast" address
// is 127.0.0.1, so nothing leaves the machine.
#include "gatectl_runner.h"
#include "module_sim_fixture.h"
#include "util/gbk_codec.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

constexpr QByteArrayView kMac = "00-0E-C6-AA-BB-07";

}  // namespace

class TestGatectlModules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getAndSet() {
        LoopbackModule module(kMac.toByteArray(), util::ToGbk(u"入口"), "gate1");
        QVERIFY(module.listening);
        const QString port = QString::number(module.server.Port());

        GatectlResult r = RunGatectl({QStringLiteral("modules"), QStringLiteral("get"),
                                      QStringLiteral("127.0.0.1"), QStringLiteral("--port"), port,
                                      QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject got = QJsonDocument::fromJson(r.out).object();
        const QJsonObject parameters = got.value(QStringLiteral("parameters")).toObject();
        QCOMPARE(parameters.value(QStringLiteral("UserName")).toString(), QStringLiteral("入口"));
        QCOMPARE(parameters.value(QStringLiteral("Mac")).toString(), QLatin1String(kMac));
        QCOMPARE(parameters.value(QStringLiteral("BaudRate")).toString(), QStringLiteral("9600"));
        QCOMPARE(parameters.size(), 21);

        r = RunGatectl({QStringLiteral("modules"), QStringLiteral("set"),
                        QStringLiteral("127.0.0.1"), QStringLiteral("--port"), port,
                        QStringLiteral("--broadcast"), QStringLiteral("127.0.0.1"),
                        QStringLiteral("BaudRate=115200"), QStringLiteral("UserName=出口"),
                        QStringLiteral("DP=7000")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(module.model.Settings().BaudRate, QByteArray("7"));
        QCOMPARE(module.model.Settings().UserName, util::ToGbk(u"出口"));
        QCOMPARE(module.model.Settings().DestPort, QByteArray("7000"));
        // Both passes went out: the second names the module by its MAC.
        // Named in the get, the read before the write, pass 2 and the read back.
        QCOMPARE(module.CountReceived("W" + kMac.toByteArray()), 4);
        QCOMPARE(module.CountReceived("L" + kMac.toByteArray()), 1);
        QCOMPARE(module.CountReceived("E"), 2);

        // Found by its MAC through a search; the value shows by its word.
        r = RunGatectl({QStringLiteral("modules"), QStringLiteral("get"), QString::fromLatin1(kMac),
                        QStringLiteral("--port"), port, QStringLiteral("--broadcast"),
                        QStringLiteral("127.0.0.1")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.Out().contains(QStringLiteral("BaudRate (BR):           115200")), r.out);
    }

    void silentModuleIsACommunicationFailure() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().silent = true;
        const GatectlResult r = RunGatectl({QStringLiteral("modules"), QStringLiteral("get"),
                                            QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                                            QString::number(module.server.Port())});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.Err().contains(QStringLiteral("no module answers at 127.0.0.1")), r.err);
        QCOMPARE(module.CountReceived("X"), 3);  // three tries of the identify request, no more
    }
};

QTEST_GUILESS_MAIN(TestGatectlModules)
#include "test_gatectl_modules.moc"
