// The bridge's site file (every refusal names its line and key; nothing falls back to a default
// silently) and its spool (ids never repeat across reopening, a pending acknowledgement survives
// a restart, the size bound stops intake and lifts by itself).
#include "bridge/site_config.h"
#include "bridge/spool.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char kGood[] = R"([site]
name = "main-library"
state_dir = "STATE"

[mqtt]
host = "127.0.0.1"
port = 1883

[[gate]]
name = "entrance-1"
tcp = "198.18.0.11:6000"
led_buzzer = [1, 2, 3, 4, 5, 6]

[[gate]]
name = "staff-exit"
serial = "/dev/ttyUSB0"
address = "01"

[[gate]]
name = "staff-exit-2"
serial = "/dev/ttyUSB0"
address = "02"
)";

QString Write(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("site.toml"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return {};
    }
    f.write(text);
    return path;
}

}  // namespace

class TestBridgeSiteAndSpool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goodFileHasItsDefaults() {
        QTemporaryDir dir;
        const auto read = bridge::ReadSiteFile(Write(dir, kGood));
        if (const auto* e = std::get_if<bridge::SiteError>(&read)) {
            QFAIL(qPrintable(e->Text()));
        }
        const auto& c = std::get<bridge::SiteConfig>(read);
        QCOMPARE(c.base, QStringLiteral("gates/main-library"));
        QVERIFY(c.clientId.startsWith(QStringLiteral("gb-main-library-")));
        QCOMPARE(c.spoolMaxMb, 1024);
        QCOMPARE(c.gates.size(), 3);
        QCOMPARE(c.gates.at(0).tcpPort, quint16(6000));
        QCOMPARE(c.gates.at(0).ledBuzzer.value()[5], gate::Byte(6));
        QCOMPARE(c.gates.at(1).LinkKey(), c.gates.at(2).LinkKey());
        QCOMPARE(c.gates.at(2).address, gate::Byte(2));
    }

    // Each row changes the good file by one replacement; the error names this line and key.
    void errorsNameLineAndKey_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        const auto row = [](const char* name, const char* from, const char* to, int line,
                            const char* key) {
            QTest::newRow(name) << QByteArray(from) << QByteArray(to) << line
                                << QString::fromLatin1(key);
        };
        row("unknown key", "port = 1883", "port = 1883\nkeepalive = 5", 8, "mqtt.keepalive");
        row("typo in a gate", "led_buzzer", "led_buzer", 12, "gate[1].led_buzer");
        row("unknown table", "[mqtt]", "[mqt]", 5, "mqt");
        row("bad site name", "main-library", "main library", 2, "site.name");
        row("duplicate gate", "staff-exit-2", "staff-exit", 20, "gate[3].name");
        row("reserved name", "entrance-1", "bridge", 10, "gate[1].name");
        row("two links", "tcp = \"198.18.0.11:6000\"",
            "tcp = \"198.18.0.11:6000\"\nserial = \"/dev/x\"", 12, "gate[1].serial");
        row("no link", "tcp = \"198.18.0.11:6000\"", "poll_ms = 50", 9, "gate[1].tcp");
        row("FF on a shared line", "address = \"02\"", "address = \"FF\"", 22, "gate[3].address");
        row("no address on a shared line", "address = \"01\"", "poll_ms = 20", 14,
            "gate[2].address");
        row("same address on a line", "address = \"02\"", "address = \"01\"", 22,
            "gate[3].address");
        row("bad address", "address = \"01\"", "address = \"1G\"", 17, "gate[2].address");
        row("bad port", "port = 1883", "port = 70000", 7, "mqtt.port");
        row("port as text", "port = 1883", "port = \"1883\"", 7, "mqtt.port");
        row("bad tcp port", "198.18.0.11:6000", "198.18.0.11:80", 11, "gate[1].tcp");
        row("tcp host name", "198.18.0.11:6000", "gate-1:6000", 11, "gate[1].tcp");
        row("base with wildcard", "port = 1883", "port = 1883\nbase = \"gates/#\"", 8, "mqtt.base");
        row("base with slash", "port = 1883", "port = 1883\nbase = \"/gates\"", 8, "mqtt.base");
        row("unreadable password", "port = 1883",
            "port = 1883\nusername = \"b\"\npassword_file = \"/nonexistent/pass\"", 9,
            "mqtt.password_file");
        row("led_buzzer range", "[1, 2, 3, 4, 5, 6]", "[1, 2, 3, 4, 5, 200]", 12,
            "gate[1].led_buzzer");
        row("spool bound", "[mqtt]", "[spool]\nmax_mb = 0\n\n[mqtt]", 6, "spool.max_mb");
        row("syntax", "port = 1883", "port = = 1883", 7, "syntax");
        row("metrics host name", "[mqtt]", "[metrics]\nlisten = \"localhost:9464\"\n\n[mqtt]", 6,
            "metrics.listen");
        row("metrics without port", "[mqtt]", "[metrics]\nlisten = \"127.0.0.1\"\n\n[mqtt]", 6,
            "metrics.listen");
        row("metrics typo", "[mqtt]", "[metrics]\nlisten_on = \"127.0.0.1:9464\"\n\n[mqtt]", 6,
            "metrics.listen_on");
        row("metrics password without user", "[mqtt]",
            "[metrics]\nlisten = \"127.0.0.1:9464\"\npassword_file = \"/etc/hostname\"\n\n[mqtt]",
            7, "metrics.password_file");
        row("metrics user without password", "[mqtt]",
            "[metrics]\nlisten = \"127.0.0.1:9464\"\nusername = \"p\"\n\n[mqtt]", 7,
            "metrics.username");
        row("discovery as text", "[mqtt]", "[homeassistant]\ndiscovery = \"yes\"\n\n[mqtt]", 6,
            "homeassistant.discovery");
        row("prefix with wildcard", "[mqtt]",
            "[homeassistant]\ndiscovery = true\nprefix = \"ha/+\"\n\n[mqtt]", 7,
            "homeassistant.prefix");
    }

    void errorsNameLineAndKey() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, line);
        QFETCH(QString, key);
        QByteArray text(kGood);
        QVERIFY(text.contains(from));
        text.replace(text.indexOf(from), from.size(), to);
        QTemporaryDir dir;
        const QString path = Write(dir, text);
        const auto read = bridge::ReadSiteFile(path);
        QVERIFY(std::holds_alternative<bridge::SiteError>(read));
        const auto& e = std::get<bridge::SiteError>(read);
        QCOMPARE(e.key, key);
        QCOMPARE(e.line, line);
        QVERIFY(e.Text().startsWith(path + u':' + QString::number(line) + u": " + key + u": "));
    }

    void idsNeverRepeatAndPendingSurvivesRestart() {
        QTemporaryDir dir;
        QString error;
        QSet<QString> ids;
        QString instance;
        const auto add = [&](bridge::Spool& s, const QString& gate) {
            QString id;
            const bool ok = s.Add(gate, QStringLiteral("t/") + gate, [&](const QString& given) {
                id = given;
                return given.toUtf8();
            });
            return ok ? id : QString();
        };
        for (int run = 0; run < 2; ++run) {
            auto spool = bridge::Spool::Open(dir.path(), 1 << 20, &error);
            QVERIFY2(spool, qPrintable(error));
            if (run == 0) {
                instance = spool->InstanceId();
                QVERIFY(!spool->AckPending(QStringLiteral("a")));
            } else {
                // Kept from the first run: the id prefix and the unresolved acknowledgement.
                QCOMPARE(spool->InstanceId(), instance);
                QVERIFY(spool->AckPending(QStringLiteral("a")));
                QVERIFY(!spool->AckPending(QStringLiteral("b")));
            }
            for (int i = 0; i < 3; ++i) {
                for (const QString& gate : {QStringLiteral("a"), QStringLiteral("b")}) {
                    const QString id = add(*spool, gate);
                    QVERIFY(id.startsWith(instance + u'-' + gate + u'-'));
                    QVERIFY2(!ids.contains(id), qPrintable(id));
                    ids.insert(id);
                }
            }
            QVERIFY(spool->ClearAckPending(QStringLiteral("b")));
            // Entries come back oldest first and go only when removed.
            const auto entries = spool->After(0, 100);
            QCOMPARE(entries.size(), run == 0 ? 6 : 10);
            QVERIFY(entries.first().payload.startsWith(instance.toUtf8()));
            QVERIFY(entries.first().seq < entries.last().seq);
            spool->Remove({entries.at(0).seq, entries.at(1).seq});
            QCOMPARE(spool->Measure().backlog, entries.size() - 2);
        }
        QCOMPARE(ids.size(), 12);
    }

    void boundStopsIntakeAndLiftsByItself() {
        QTemporaryDir dir;
        QString error;
        qint64 now = 1000;
        auto spool = bridge::Spool::Open(dir.path(), 256 * 1024, &error, [&now] { return now; });
        QVERIFY2(spool, qPrintable(error));
        const QByteArray big(8000, 'x');
        int taken = 0;
        while (taken < 1000 && spool->Add(QStringLiteral("g"), QStringLiteral("t"),
                                          [&](const QString&) { return big; })) {
            ++taken;
        }
        QVERIFY2(taken > 10 && taken < 1000, qPrintable(QString::number(taken)));
        QVERIFY(!spool->Writable());
        QVERIFY(spool->BlockReason().contains(QStringLiteral("bound")));
        QList<qint64> all;
        for (const auto& e : spool->After(0, 2000)) {
            all.append(e.seq);
        }
        QCOMPARE(all.size(), taken);
        spool->Remove(all);
        QVERIFY(!spool->Writable());  // probed at most once a second
        now += 1000;
        QVERIFY(spool->Writable());
        QVERIFY(spool->Add(QStringLiteral("g"), QStringLiteral("t"),
                           [&](const QString&) { return big; }));
    }
};

QTEST_GUILESS_MAIN(TestBridgeSiteAndSpool)
#include "test_bridge_site_and_spool.moc"
