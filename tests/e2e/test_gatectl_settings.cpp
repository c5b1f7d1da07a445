// gatectl's settings clone at its edges: a backup of values restore would refuse, a restore onto
// a controller whose EAS mode is forced, a restore that loses a reply halfway through a group,
// and the diff of gates that differ only in their address.
#include "core/commands/settings_document.h"
#include "gatectl_gate.h"

#include "gate/wire_commands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Strings(const QJsonValue& array) {
    QStringList out;
    for (const QJsonValue& v : array.toArray()) {
        out << v.toString();
    }
    return out;
}

GatectlResult Backup(const Gate& gate, const QString& path) {
    return RunGatectl({QStringLiteral("settings"), QStringLiteral("backup"),
                       QStringLiteral("--tcp"), gate.tcp, QStringLiteral("--output"), path});
}

}  // namespace

class TestGatectlSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A controller reporting a reader-inventory time of 20 (below the lists' 30): the backup
    // is written with the configuration under not_read and ends with exit code 6; restore takes
    // the rest of the file onto another gate.
    void backupLeavesOutWhatRestoreWouldRefuse() {
        Gate odd({{QStringLiteral("config"), QStringLiteral("1400050502030001")},
                  {QStringLiteral("ir-direction"), QStringLiteral("reverse")}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odd.json"));
        GatectlResult r = Backup(odd, path);
        QCOMPARE(r.exitCode, 6);
        QVERIFY2(r.Err().contains(QStringLiteral("settings.configuration.")), r.err);
        QString error;
        const auto document = commands::ReadSettingsDocument(FileContent(path), &error);
        QVERIFY2(document, qPrintable(error));
        QVERIFY(!document->settings.configuration);
        QVERIFY(document->notRead.value(QStringLiteral("configuration"))
                    .contains(QStringLiteral("out of range")));
        QCOMPARE(document->settings.infraredReverse, std::optional<bool>(true));

        Gate target;
        const sim::StoredConfig before = target.Live();
        r = RunGatectl({QStringLiteral("settings"), QStringLiteral("restore"),
                        QStringLiteral("--tcp"), target.tcp, path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(target.Live().block == before.block);
        QCOMPARE(int(target.Live().irDirection), 1);
    }

    // A golden file in channel mode cloned onto a controller with forced EAS: every other group
    // is written and verified, the mode is named as not written, and the clone succeeds.
    void forcedEasControllerTakesEverythingButTheMode() {
        Gate golden({{QStringLiteral("stat-time"), QStringLiteral("20")}});
        Gate forced({{QStringLiteral("forced-eas"), QStringLiteral("on")}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("golden.json"));
        QCOMPARE(Backup(golden, path).exitCode, 0);
        GatectlResult r = RunGatectl({QStringLiteral("settings"), QStringLiteral("restore"),
                                      QStringLiteral("--tcp"), forced.tcp, path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.Out().contains(QStringLiteral("not written: operating_mode")), r.out);
        QCOMPARE(int(forced.Live().block[2]), 20);  // stat_time
        // Nothing was tried and refused: the mode switch never reached the controller.
        const int modeRequests = forced.simulator.WithModel([](sim::ControllerModel& m) {
            const auto n = m.RequestsOf(static_cast<sim::Byte>(gate::wire::Command::ModeSwitch));
            return n.own + n.broadcast;
        });
        QCOMPARE(modeRequests, 2);  // the reads before and after the write only
    }

    // The alarm patterns' request loses its reply (the mask before it was taken): the JSON
    // output says which groups were taken, which possibly taken and which never sent.
    void restoreSaysWhatBecameOfEachRequest() {
        Gate golden({{QStringLiteral("alarm-mask"), QStringLiteral("0x15")},
                     {QStringLiteral("mode"), QStringLiteral("eas")},
                     {QStringLiteral("stat-time"), QStringLiteral("20")}});
        golden.simulator.WithModel([](sim::ControllerModel& m) {
            m.State().live.patterns[4] = 9;
            return 0;
        });
        Gate target;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("golden.json"));
        QCOMPARE(Backup(golden, path).exitCode, 0);
        target.simulator.AddFault(
            sim::Fault{sim::Fault::Kind::Drop, 0, 0,
                       static_cast<std::uint8_t>(gate::wire::Command::SetAlarmPattern)});
        const GatectlResult r =
            RunGatectl({QStringLiteral("settings"), QStringLiteral("restore"),
                        QStringLiteral("--tcp"), target.tcp, path, QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 3);
        const QJsonObject groups = JsonOf(r.out).value(QStringLiteral("groups")).toObject();
        QCOMPARE(Strings(groups.value(QStringLiteral("taken"))),
                 QStringList{QStringLiteral("configuration")});
        QCOMPARE(Strings(groups.value(QStringLiteral("possibly_taken"))),
                 QStringList{QStringLiteral("alarms")});
        QCOMPARE(Strings(groups.value(QStringLiteral("not_sent"))),
                 QStringList{QStringLiteral("operating_mode")});
        QVERIFY2(r.Err().contains(QStringLiteral("writing alarms (patterns)")), r.err);

        // The same in text: each request by name.
        Gate again;
        again.simulator.AddFault(
            sim::Fault{sim::Fault::Kind::Drop, 0, 0,
                       static_cast<std::uint8_t>(gate::wire::Command::SetAlarmPattern)});
        const GatectlResult text =
            RunGatectl({QStringLiteral("settings"), QStringLiteral("restore"),
                        QStringLiteral("--tcp"), again.tcp, path});
        QCOMPARE(text.exitCode, 3);
        QVERIFY2(text.Out().contains(QStringLiteral("taken: configuration, alarms (mask)\n")),
                 text.out);
        QVERIFY2(
            text.Out().contains(QStringLiteral("possibly taken (no reply): alarms (patterns)")),
            text.out);
        QVERIFY2(text.Out().contains(QStringLiteral("not sent: operating_mode")), text.out);
    }

    // Gates that share a line differ in their address by design: --keep-address leaves it out
    // of the comparison, as restore leaves it unwritten.
    void diffKeepAddressIgnoresTheAddress_data() {
        QTest::addColumn<bool>("keepAddress");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("address compared") << false << 5;
        QTest::newRow("--keep-address") << true << 0;
    }
    void diffKeepAddressIgnoresTheAddress() {
        QFETCH(bool, keepAddress);
        QFETCH(int, exitCode);
        Gate first({{QStringLiteral("address"), QStringLiteral("5")}});
        Gate second;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("first.json"));
        QCOMPARE(Backup(first, path).exitCode, 0);
        QStringList arguments{QStringLiteral("settings"), QStringLiteral("diff"),
                              QStringLiteral("--tcp"), second.tcp, path};
        if (keepAddress) {
            arguments << QStringLiteral("--keep-address");
        }
        const GatectlResult r = RunGatectl(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.Out().contains(QStringLiteral("address: 01 -> 05")), !keepAddress);
    }
};

QTEST_GUILESS_MAIN(TestGatectlSettings)
#include "test_gatectl_settings.moc"
