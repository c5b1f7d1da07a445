// When the bridge's nightly jobs run, in a zone with daylight saving time (the test runs with
// TZ=Europe/Berlin): a time the clock jumps over runs at the next minute that exists, a time it
// shows twice runs once, a missed run is made up at once; and the [records] and [clock] keys.
#include "bridge/schedule.h"
#include "bridge/site_config.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QDateTime Local(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QString Write(const QTemporaryDir& dir, const QString& text) {
    const QString path = dir.filePath(QStringLiteral("site.toml"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return {};
    }
    f.write(text.toUtf8());
    return path;
}

const char kSite[] = R"([site]
name = "s"
state_dir = "/var/lib/gb"

[mqtt]
host = "127.0.0.1"
%1
[[gate]]
name = "a"
tcp = "198.18.0.1:6000"
%2
[[gate]]
name = "b"
tcp = "198.18.0.2:6000"
)";

}  // namespace

class TestBridgeSchedule : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The rows below are Berlin's 2026 changes: 29 March 02:00 -> 03:00, 25 October
        // 03:00 -> 02:00.
        QCOMPARE(qgetenv("TZ"), QByteArray("Europe/Berlin"));
        QCOMPARE(Local("2026-06-01T12:00:00").offsetFromUtc(), 7200);
    }

    void dailyRun_data() {
        QTest::addColumn<QString>("at");
        QTest::addColumn<QDateTime>("after");
        QTest::addColumn<QDateTime>("next");  // as an instant (UTC)
        const auto row = [](const char* name, const char* at, QDateTime after, const char* utc) {
            QTest::newRow(name) << QString::fromLatin1(at) << after
                                << QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
        };
        row("later today", "02:15", Local("2026-06-01T01:00:00"), "2026-06-01T00:15:00Z");
        row("passed today", "02:15", Local("2026-06-01T02:15:00"), "2026-06-02T00:15:00Z");
        row("midnight", "00:00", Local("2026-12-31T23:59:30"), "2026-12-31T23:00:00Z");
        // 02:30 does not exist on 29 March: the next minute that does is 03:00 (+02:00).
        row("skipped hour", "02:30", Local("2026-03-29T00:00:00"), "2026-03-29T01:00:00Z");
        row("skipped hour, the day after", "02:30", Local("2026-03-29T03:00:05"),
            "2026-03-30T00:30:00Z");
        row("skipped hour, 02:00", "02:00", Local("2026-03-29T01:59:00"), "2026-03-29T01:00:00Z");
        // 02:30 exists twice on 25 October (+02:00, then +01:00): one run that day.
        row("repeated hour", "02:30", Local("2026-10-25T00:00:00"), "2026-10-25T00:30:00Z");
        row("repeated hour, after the first", "02:30",
            QDateTime::fromString(QStringLiteral("2026-10-25T00:30:05Z"), Qt::ISODate),
            "2026-10-26T01:30:00Z");
        row("repeated hour, during the second", "02:30",
            QDateTime::fromString(QStringLiteral("2026-10-25T01:30:05Z"), Qt::ISODate),
            "2026-10-26T01:30:00Z");
    }

    void dailyRun() {
        QFETCH(QString, at);
        QFETCH(QDateTime, after);
        QFETCH(QDateTime, next);
        const QDateTime run = bridge::NextDailyRun(*bridge::ParseTimeOfDay(at), after);
        QVERIFY(run.isValid());
        QCOMPARE(run.toUTC(), next.toUTC());
    }

    void missedRunsAreMadeUp() {
        const QDateTime start = Local("2026-06-03T10:00:00");
        const bridge::Schedule nightly{QTime(2, 15), 0};
        // Down at 02:15 today: due at the start.
        QCOMPARE(bridge::NextRun(nightly, Local("2026-06-02T02:15:09"), start, start), start);
        // Ran today already: tomorrow.
        QCOMPARE(bridge::NextRun(nightly, Local("2026-06-03T02:15:09"), start, start),
                 Local("2026-06-04T02:15:00"));
        // Never ran: the next 02:15, nothing to make up.
        QCOMPARE(bridge::NextRun(nightly, std::nullopt, start, start),
                 Local("2026-06-04T02:15:00"));
        const bridge::Schedule often{std::nullopt, 3000};
        QCOMPARE(bridge::NextRun(often, std::nullopt, start, start), start.addSecs(3));
        QCOMPARE(bridge::NextRun(often, start.addSecs(-5), start, start), start);
        QCOMPARE(bridge::NextRun(often, start.addSecs(-1), start, start), start.addSecs(2));
        QVERIFY(!bridge::NextRun(bridge::Schedule{}, std::nullopt, start, start).isValid());
    }

    void texts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("ms");  // -1: refused
        QTest::newRow("seconds") << QStringLiteral("3s") << qint64(3000);
        QTest::newRow("minutes") << QStringLiteral("15m") << qint64(900000);
        QTest::newRow("hours") << QStringLiteral("6h") << qint64(21600000);
        QTest::newRow("zero") << QStringLiteral("0h") << qint64(-1);
        QTest::newRow("no unit") << QStringLiteral("6") << qint64(-1);
        QTest::newRow("days") << QStringLiteral("1d") << qint64(-1);
        QTest::newRow("space") << QStringLiteral("6 h") << qint64(-1);
    }

    void texts() {
        QFETCH(QString, text);
        QFETCH(qint64, ms);
        QCOMPARE(bridge::ParseInterval(text).value_or(-1), ms);
    }

    void siteKeys_data() {
        QTest::addColumn<QString>("tables");     // after [mqtt]
        QTest::addColumn<QString>("gateTable");  // after gate a
        QTest::addColumn<QString>("error");      // the key of the error; empty: accepted
        const auto row = [](const char* name, const char* tables, const char* gateTable,
                            const char* error) {
            QTest::newRow(name) << QString::fromUtf8(tables) << QString::fromUtf8(gateTable)
                                << QString::fromLatin1(error);
        };
        row("records and clock",
            "[records]\nat = \"02:15\"\ndelete_after = true\nkeep_days = 9\n"
            "[clock]\nevery = \"6h\"\nmax_drift_s = 5\n",
            "", "");
        row("gate override", "[records]\nat = \"02:15\"\n",
            "[gate.records]\nevery = \"3s\"\nformat = \"jsonl\"\ndir = \"/srv/r\"\n", "");
        row("gate only", "", "[gate.records]\nevery = \"1h\"\n", "");
        row("at and every", "[records]\nat = \"02:15\"\nevery = \"6h\"\n", "", "records.every");
        row("bad at", "[records]\nat = \"2:15\"\n", "", "records.at");
        row("at 24:00", "[records]\nat = \"24:00\"\n", "", "records.at");
        row("no schedule", "[records]\nformat = \"csv\"\n", "", "records.at");
        row("bad format", "[records]\nat = \"02:15\"\nformat = \"xml\"\n", "", "records.format");
        row("relative dir", "[records]\nat = \"02:15\"\ndir = \"records\"\n", "", "records.dir");
        row("delete as text", "[records]\nat = \"02:15\"\ndelete_after = \"yes\"\n", "",
            "records.delete_after");
        row("typo in gate table", "[records]\nat = \"02:15\"\n",
            "[gate.records]\nformt = \"csv\"\n", "gate[1].records.formt");
        row("clock typo", "[clock]\nat = \"03:00\"\nmax_drift = 2\n", "", "clock.max_drift");
        row("clock drift zero", "[clock]\nat = \"03:00\"\nmax_drift_s = 0\n", "",
            "clock.max_drift_s");
    }

    void siteKeys() {
        QFETCH(QString, tables);
        QFETCH(QString, gateTable);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const auto read =
            bridge::ReadSiteFile(Write(dir, QString::fromLatin1(kSite).arg(tables, gateTable)));
        if (const auto* e = std::get_if<bridge::SiteError>(&read)) {
            QCOMPARE(e->key, error);
            return;
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const auto& c = std::get<bridge::SiteConfig>(read);
        const bridge::GateConfig& a = c.gates.at(0);
        const bridge::GateConfig& b = c.gates.at(1);
        if (QTest::currentDataTag() == QByteArray("records and clock")) {
            QCOMPARE(a.records, b.records);
            QCOMPARE(a.records->dir, QStringLiteral("/var/lib/gb/records"));
            QCOMPARE(a.records->format, QStringLiteral("csv"));
            QVERIFY(a.records->deleteAfter);
            QCOMPARE(a.records->keepDays, std::optional<int>(9));
            QCOMPARE(b.clock->schedule.everyMs, qint64(6 * 3600 * 1000));
            QCOMPARE(b.clock->maxDriftS, 5);
            QVERIFY(b.clock->requireHostSync);
        } else if (QTest::currentDataTag() == QByteArray("gate override")) {
            // The gate's own keys over the site's; the other gate keeps the site's.
            QCOMPARE(a.records->schedule.everyMs, qint64(3000));
            QVERIFY(!a.records->schedule.at);
            QCOMPARE(a.records->format, QStringLiteral("jsonl"));
            QCOMPARE(a.records->dir, QStringLiteral("/srv/r"));
            QCOMPARE(b.records->schedule.at, std::optional<QTime>(QTime(2, 15)));
            QCOMPARE(b.records->format, QStringLiteral("csv"));
            QVERIFY(!a.records->deleteAfter);
        } else if (QTest::currentDataTag() == QByteArray("gate only")) {
            QVERIFY(a.records.has_value());
            QVERIFY(!b.records.has_value());
            QVERIFY(!a.clock.has_value());
        }
    }
};

QTEST_GUILESS_MAIN(TestBridgeSchedule)
#include "test_bridge_schedule.moc"
