// The settings document: what a backup writes reads back the same, every way a file can be bad
// is refused with the first bad field named, and the difference of two settings by path.
#include "core/commands/settings_diff.h"
#include "core/commands/settings_document.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using commands::ControllerSettings;
using commands::SettingsDocument;

namespace {

SettingsDocument FullDocument() {
    SettingsDocument d;
    d.backupTime = QDateTime(QDate(2024, 5, 6), QTime(9, 8, 7), Qt::OffsetFromUTC, 7200);
    d.controller = {QStringLiteral("31"), QStringLiteral("07.02"), QStringLiteral("04-03-02-01"),
                    false};
    ControllerSettings& s = d.settings;
    s.configuration = commands::ConfigurationBlock{40, 2, 20, 6, 3, 4, 1, 0};
    s.correlation = commands::CorrelationSettings{true, false, true, false, 40, 30};
    s.tagData = commands::TagDataSettings{true, true, 3, 4, 6};
    s.infraredReverse = true;
    s.readerLossAlarm = true;
    s.recordWriting = false;
    commands::AlarmSettings alarms;
    alarms.enabled = {true, false, true, false, true};
    for (int i = 0; i < gate::kAlarmPatternSize; ++i) {
        alarms.patterns[static_cast<std::size_t>(i)] = static_cast<gate::Byte>(i * 5);
    }
    s.alarms = alarms;
    s.easMode = true;
    s.address = 0x1F;
    d.notRead.insert(commands::group::kAutomaticLoading, QStringLiteral("no read"));
    return d;
}

QJsonObject FullJson() {
    return QJsonDocument::fromJson(commands::WriteSettingsDocument(FullDocument())).object();
}

// Sets (or, with an undefined value, removes) the field at a dotted path.
QJsonObject WithPath(QJsonObject o, QStringList path, const QJsonValue& value) {
    const QString key = path.takeFirst();
    if (path.isEmpty()) {
        if (value.isUndefined()) {
            o.remove(key);
        } else {
            o.insert(key, value);
        }
        return o;
    }
    o.insert(key, WithPath(o.value(key).toObject(), path, value));
    return o;
}

QByteArray Edited(const QString& path, const QJsonValue& value) {
    return QJsonDocument(WithPath(FullJson(), path.split(u'.'), value)).toJson();
}

}  // namespace

class TestSettingsDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenDocumentReadsBackTheSame() {
        const SettingsDocument d = FullDocument();
        QString error;
        const auto read =
            commands::ReadSettingsDocument(commands::WriteSettingsDocument(d), &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->settings, d.settings);
        QCOMPARE(read->controller, d.controller);
        QCOMPARE(read->notRead, d.notRead);
        QCOMPARE(read->backupTime, d.backupTime);
        QCOMPARE(read->formatVersion, SettingsDocument::kFormatVersion);
    }

    // A group the controller would not report is listed as not read and left out; the file
    // is still whole.
    void groupListedAsNotReadMayBeMissing() {
        QJsonObject o = WithPath(FullJson(), {QStringLiteral("settings"), QStringLiteral("alarms")},
                                 QJsonValue::Undefined);
        o = WithPath(o, {QStringLiteral("not_read"), QStringLiteral("alarms")},
                     QStringLiteral("result 8"));
        QString error;
        const auto read = commands::ReadSettingsDocument(QJsonDocument(o).toJson(), &error);
        QVERIFY2(read, qPrintable(error));
        QVERIFY(!read->settings.alarms);
        QVERIFY(read->settings.configuration);
    }

    void badDocuments_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QByteArray whole = QJsonDocument(FullJson()).toJson();
        QTest::newRow("not JSON") << QByteArray("backup of gate 3\n") << "not a JSON document";
        QTest::newRow("truncated") << whole.left(whole.size() / 2) << "not a JSON document";
        QTest::newRow("an array") << QByteArray("[1, 2]")
                                  << "not a settings document: expected a JSON object";
        QTest::newRow("another format")
            << Edited(QStringLiteral("format"), QStringLiteral("tax-return")) << "format: expected";
        QTest::newRow("newer format version")
            << Edited(QStringLiteral("format_version"), 2)
            << "format_version: 2 is newer than this program reads (1)";
        QTest::newRow("time out of its list")
            << Edited(QStringLiteral("settings.configuration.stat_time"), 2)
            << "settings.configuration.stat_time: 2 is out of range 3 to 255";
        QTest::newRow("lead above its list")
            << Edited(QStringLiteral("settings.correlation.lead"), 101)
            << "settings.correlation.lead: 101 is out of range 0 to 100";
        QTest::newRow("seven blocks") << Edited(QStringLiteral("settings.tag_data.block_count"), 7)
                                      << "settings.tag_data.block_count: 7 is out of range 1 to 6";
        QTest::newRow("pattern byte above 255")
            << Edited(QStringLiteral("settings.alarms.reverse.beeps"), 256)
            << "settings.alarms.reverse.beeps: 256 is out of range 0 to 255";
        QTest::newRow("fraction") << Edited(QStringLiteral("settings.alarms.eas.led_on"), 1.5)
                                  << "settings.alarms.eas.led_on: expected a whole number";
        QTest::newRow("number as text")
            << Edited(QStringLiteral("settings.configuration.tag_over_time"), QStringLiteral("5"))
            << "settings.configuration.tag_over_time: expected a whole number";
        QTest::newRow("switch as a word")
            << Edited(QStringLiteral("settings.record_writing"), QStringLiteral("yes"))
            << "settings.record_writing: expected true or false";
        QTest::newRow("unknown policy")
            << Edited(QStringLiteral("settings.configuration.full_policy"), QStringLiteral("wrap"))
            << "settings.configuration.full_policy: expected \"stop\" or \"overwrite\"";
        QTest::newRow("broadcast address")
            << Edited(QStringLiteral("settings.address"), QStringLiteral("FF"))
            << "settings.address: expected two hexadecimal digits from 00 to FE";
        QTest::newRow("misspelt field")
            << QJsonDocument(
                   WithPath(WithPath(FullJson(),
                                     QStringLiteral("settings.configuration.stat_time").split(u'.'),
                                     QJsonValue::Undefined),
                            QStringLiteral("settings.configuration.stat_tme").split(u'.'), 10))
                   .toJson()
            << "settings.configuration.stat_time: missing";
        QTest::newRow("unknown group")
            << Edited(QStringLiteral("settings.relay"), 5) << "settings.relay: unknown field";
        QTest::newRow("group missing, not listed")
            << Edited(QStringLiteral("settings.correlation"), QJsonValue::Undefined)
            << "settings.correlation: missing (and not listed under not_read)";
    }
    void badDocuments() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!commands::ReadSettingsDocument(bytes, &why));
        QVERIFY2(why.startsWith(error), qPrintable(why));
    }

    void differences_data() {
        QTest::addColumn<bool>("controllerHasAlarms");
        QTest::addColumn<int>("statTime");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("same") << true << 20 << QStringList();
        QTest::newRow("one value")
            << true << 30 << QStringList{QStringLiteral("configuration.stat_time: 30 -> 20")};
        QTest::newRow("group not read from the controller")
            << false << 20 << QStringList{QStringLiteral("alarms: (not read) -> (document)")};
    }
    void differences() {
        QFETCH(bool, controllerHasAlarms);
        QFETCH(int, statTime);
        QFETCH(QStringList, lines);
        const ControllerSettings wanted = FullDocument().settings;
        ControllerSettings current = wanted;
        (*current.configuration)[2] = static_cast<gate::Byte>(statTime);
        if (!controllerHasAlarms) {
            current.alarms.reset();
        }
        QStringList got;
        for (const auto& change : commands::DiffSettings(current, wanted)) {
            got << commands::ChangeLine(change);
        }
        QCOMPARE(got, lines);
    }
};

QTEST_GUILESS_MAIN(TestSettingsDocument)
#include "test_settings_document.moc"
