// The bridge's Prometheus metrics: live events counted into the right series, a removed gate
// leaving no series, an identity change replacing gate_info, and the exposition text passing
// promtool's lint.
#include "bridge/metrics.h"

#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

namespace {

QString Text(const bridge::Metrics& m) {
    return QString::fromStdString(m.Text());
}

// The value of one series in the exposition text, or -1 when it is not there.
double Value(const bridge::Metrics& m, const QString& series) {
    for (const QString& line : Text(m).split(u'\n')) {
        if (line.startsWith(series + u' ')) {
            return line.mid(series.size() + 1).toDouble();
        }
    }
    return -1;
}

// One GET of /metrics on loopback; the whole answer (status line, headers, body).
QByteArray Get(int port, const QByteArray& authorization) {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (!s.waitForConnected(3000)) {
        return {};
    }
    QByteArray request = "GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (!authorization.isEmpty()) {
        request += "Authorization: Basic " + authorization.toBase64() + "\r\n";
    }
    s.write(request + "\r\n");
    QByteArray answer;
    // HTTP/1.0: the server closes the connection after the answer.
    for (int i = 0; i < 50 && s.state() == QAbstractSocket::ConnectedState; ++i) {
        s.waitForReadyRead(100);
        answer += s.readAll();
    }
    return answer + s.readAll();
}

QJsonObject Json(const char* text) {
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

}  // namespace

class TestBridgeMetrics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each row: the bridge's event objects taken from gate "a", and series that must then read
    // the given values (gate "b" stays at zero throughout).
    void eventsCountedBySeries_data() {
        QTest::addColumn<QList<QByteArray>>("events");
        QTest::addColumn<QList<QByteArray>>("series");
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("passages by direction")
            << QList<QByteArray>{R"({"event":"passage","direction":"forward"})",
                                 R"({"event":"passage","direction":"forward"})",
                                 R"({"event":"passage","direction":"reverse"})"}
            << QList<QByteArray>{R"(gate_passages_total{direction="forward",gate="a"})",
                                 R"(gate_passages_total{direction="reverse",gate="a"})",
                                 R"(gate_events_total{event="passage",gate="a"})",
                                 R"(gate_passages_total{direction="forward",gate="b"})"}
            << QList<double>{2, 1, 3, 0};
        // A statistics message reports its period's counts: two of them add up.
        QTest::newRow("statistics add their counts")
            << QList<
                   QByteArray>{R"({"event":"statistics","forward":3,"reverse":1,"undetermined":0,"tags":4})",
                               R"({"event":"statistics","forward":2,"reverse":0,"undetermined":5})"}
            << QList<QByteArray>{R"(gate_counted_persons_total{direction="forward",gate="a"})",
                                 R"(gate_counted_persons_total{direction="reverse",gate="a"})",
                                 R"(gate_counted_persons_total{direction="undetermined",gate="a"})",
                                 R"(gate_counted_tags_total{gate="a"})",
                                 R"(gate_events_total{event="statistics",gate="a"})",
                                 R"(gate_passages_total{direction="forward",gate="a"})"}
            << QList<double>{5, 1, 5, 4, 2, 0};
        QTest::newRow("no-person and alarms are no passages")
            << QList<QByteArray>{R"({"event":"no_person","direction":"no_person"})",
                                 R"({"event":"eas_alarm","status":4})",
                                 R"({"event":"something-new"})"}
            << QList<QByteArray>{R"(gate_events_total{event="no_person",gate="a"})",
                                 R"(gate_events_total{event="eas_alarm",gate="a"})",
                                 R"(gate_events_total{event="unknown",gate="a"})",
                                 R"(gate_passages_total{direction="no_person",gate="a"})"}
            << QList<double>{1, 1, 1, -1};
    }

    void eventsCountedBySeries() {
        QFETCH(QList<QByteArray>, events);
        QFETCH(QList<QByteArray>, series);
        QFETCH(QList<double>, values);
        bridge::Metrics m(QStringLiteral("9.9"));
        m.AddGate(QStringLiteral("a"));
        m.AddGate(QStringLiteral("b"));
        for (const QByteArray& e : events) {
            m.EventTaken(QStringLiteral("a"), QJsonDocument::fromJson(e).object());
        }
        for (qsizetype i = 0; i < series.size(); ++i) {
            const QString name = QString::fromUtf8(series.at(i));
            QVERIFY2(Value(m, name) == values.at(i),
                     qPrintable(name + u'=' + QString::number(Value(m, name))));
        }
    }

    void removedGateLeavesNoSeries() {
        bridge::Metrics m(QStringLiteral("9.9"));
        for (const char* g : {"a", "b"}) {
            const QString gate = QString::fromLatin1(g);
            m.AddGate(gate);
            m.SetUp(gate, true);
            m.SetInfo(gate, QStringLiteral("12"), QStringLiteral("7.02"), QStringLiteral("0102"));
            m.EventTaken(gate, Json(R"({"event":"passage","direction":"undetermined"})"));
            m.RequestFailed(gate, 48);
            m.ObserveRequest(gate, 0.004);
            m.RecordsExported(gate, 10, 1.7e9);
        }
        m.RemoveGate(QStringLiteral("a"));
        const QString text = Text(m);
        QVERIFY2(!text.contains(QStringLiteral("gate=\"a\"")), qPrintable(text));
        QCOMPARE(Value(m, QStringLiteral("gate_up{gate=\"b\"}")), 1.0);
        QCOMPARE(
            Value(m, QStringLiteral(R"(gate_request_failures_total{gate="b",result="no_answer"})")),
            1.0);
        QCOMPARE(Value(m, QStringLiteral("gate_request_duration_seconds_count{gate=\"b\"}")), 1.0);
        // Calls for a removed gate (a worker still stopping) add nothing back.
        m.EventTaken(QStringLiteral("a"), Json(R"({"event":"passage","direction":"forward"})"));
        m.SetUp(QStringLiteral("a"), true);
        QVERIFY(!Text(m).contains(QStringLiteral("gate=\"a\"")));
    }

    void identityChangeReplacesInfo() {
        bridge::Metrics m(QStringLiteral("9.9"));
        m.AddGate(QStringLiteral("a"));
        m.SetInfo(QStringLiteral("a"), QStringLiteral("12"), QStringLiteral("7.02"),
                  QStringLiteral("01020304"));
        m.SetInfo(QStringLiteral("a"), QStringLiteral("12"), QStringLiteral("7.03"),
                  QStringLiteral("0A0B0C0D"));
        const QString text = Text(m);
        QCOMPARE(text.count(QStringLiteral("gate_info{")), 1);
        QCOMPARE(
            Value(m, QStringLiteral(
                         R"(gate_info{gate="a",product="12",serial="0A0B0C0D",version="7.03"})")),
            1.0);
        QCOMPARE(Value(m, QStringLiteral(R"(gate_bridge_build_info{version="9.9"})")), 1.0);
    }

    void failureResultsAreASmallSet_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("label");
        QTest::newRow("no answer") << 48 << QStringLiteral("no_answer");
        QTest::newRow("no answer, flagged") << (48 | 0x40) << QStringLiteral("no_answer");
        QTest::newRow("crc") << 49 << QStringLiteral("crc_error");
        QTest::newRow("length") << 50 << QStringLiteral("length_error");
        QTest::newRow("busy") << 51 << QStringLiteral("busy");
        QTest::newRow("wrong mode") << 9 << QStringLiteral("refused");
        QTest::newRow("invalid command") << 8 << QStringLiteral("refused");
    }

    void failureResultsAreASmallSet() {
        QFETCH(int, result);
        QFETCH(QString, label);
        QCOMPARE(bridge::Metrics::FailureResult(result), label);
    }

    // The endpoint with basic authentication answers only the right user and password.
    void basicAuthentication_data() {
        QTest::addColumn<QByteArray>("credentials");
        QTest::addColumn<bool>("served");
        QTest::newRow("none") << QByteArray() << false;
        QTest::newRow("right") << QByteArray("prometheus:s3cret") << true;
        QTest::newRow("wrong password") << QByteArray("prometheus:s3cre") << false;
        QTest::newRow("longer password") << QByteArray("prometheus:s3cret!") << false;
        QTest::newRow("wrong user") << QByteArray("prometheus2:s3cret") << false;
    }

    void basicAuthentication() {
        QFETCH(QByteArray, credentials);
        QFETCH(bool, served);
        bridge::Metrics m(QStringLiteral("9.9"));
        m.AddGate(QStringLiteral("a"));
        QString error;
        QVERIFY2(m.Serve(QStringLiteral("127.0.0.1:0"), &error, QStringLiteral("prometheus"),
                         QStringLiteral("s3cret")),
                 qPrintable(error));
        QVERIFY(m.Port() > 0);
        const QByteArray answer = Get(m.Port(), credentials);
        QVERIFY2(answer.startsWith(served ? "HTTP/1.1 200" : "HTTP/1.1 401"), answer.constData());
        QCOMPARE(answer.contains("gate_up{gate=\"a\"} 0"), served);
    }

    // promtool's lint: names, units, _total on counters and nowhere else, help texts.
    void exposition_passes_promtool() {
        const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
        if (promtool.isEmpty()) {
            QSKIP("promtool is not installed (scripts/setup installs prometheus)");
        }
        bridge::Metrics m(QStringLiteral("9.9"));
        m.AddGate(QStringLiteral("a"));
        m.EventTaken(QStringLiteral("a"), Json(R"({"event":"statistics","forward":1,"tags":2})"));
        m.RequestFailed(QStringLiteral("a"), 49);
        m.ObserveRequest(QStringLiteral("a"), 0.02);
        m.SetSpool(3, 1.5);
        QProcess p;
        p.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
        QVERIFY(p.waitForStarted(5000));
        p.write(QByteArray::fromStdString(m.Text()));
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(10000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY2(p.exitCode() == 0 && out.trimmed().isEmpty(), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestBridgeMetrics)
#include "test_bridge_metrics.moc"
