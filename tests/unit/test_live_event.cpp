// The structured live event: its lines are the console's display lines for the same message
// (checked against the console's own poll), its name table, and the fields decoded by the live
// rules.
#include "core/monitor/live_event.h"
#include "core/monitor/message_poller.h"
#include "scripted_gate_library.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

using monitor::MonitorList;
using testing_support::ScriptedGateLibrary;

namespace {

// Collects the lines the console's poll appends, in order.
class LineSink final : public monitor::PollSink {
public:
    void AppendLine(MonitorList list, const QString& line) override { lines.append({list, line}); }
    void ScrollToNewest(MonitorList) override {}
    void ProcessPendingEvents() override {}
    std::optional<std::array<gate::Byte, 6>> LedBuzzerSelection() override { return std::nullopt; }
    void Report(const QString&, std::int32_t, gate::Byte) override {}

    QList<std::pair<MonitorList, QString>> lines;
};

struct Message {
    int kind;
    QByteArray body;
};

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

}  // namespace

class TestLiveEvent : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAreTheConsolesLines_data() {
        QTest::addColumn<bool>("eas");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QList<QByteArray>>("bodies");
        const QByteArray tagged = Hex("0123456789ABCDEF 31 180506090807 0A0B0C0D0E0F1011");
        const QByteArray noPerson = Hex("0000000000000000 01 180506090807");
        QTest::newRow("channel kinds")
            << false << QList<int>{0, 1, 2, 3, 4}
            << QList<QByteArray>{Hex("0123456789ABCDEF 02 180506090807"),
                                 Hex("0300 0200 0100 0500 180506090807"),
                                 Hex("0123456789ABCDEF 180506090807 03 AABBCCDD"),
                                 Hex("180506090807"), Hex("180506090808")};
        QTest::newRow("tagged passage") << false << QList<int>{0} << QList<QByteArray>{tagged};
        // The second no-person report shows nothing; a person in between resets nothing either.
        QTest::newRow("repeated no-person")
            << false << QList<int>{0, 0, 0}
            << QList<QByteArray>{noPerson, noPerson, Hex("FFFFFFFFFFFFFFFF 04 180506090807")};
        QTest::newRow("unknown channel kind")
            << false << QList<int>{9} << QList<QByteArray>{Hex("01")};
        QTest::newRow("eas kinds")
            << true << QList<int>{0x00, 0x00, 0x00, 0x20, 0x21, 0x22, 0x00, 0x30}
            << QList<QByteArray>{Hex("01 180506090807"), Hex("04 180506090807"),
                                 Hex("00 180506090807"), Hex("0100 0200 0300 180506090807"),
                                 Hex("180506090807"),    Hex("180506090807"),
                                 Hex("00 180506090809"), Hex("00")};
    }

    void linesAreTheConsolesLines() {
        QFETCH(bool, eas);
        QFETCH(QList<int>, kinds);
        QFETCH(QList<QByteArray>, bodies);
        ScriptedGateLibrary library;
        gate::ConnectionState connection;
        connection.PortHandle = 6000;
        bool busy = false;
        QString consoleMarker;
        LineSink sink;
        monitor::MessagePoller poller(library, {connection, busy, consoleMarker}, sink,
                                      util::TextTable::Source());
        QString eventMarker;
        QList<std::pair<MonitorList, QString>> eventLines;
        for (qsizetype i = 0; i < kinds.size(); ++i) {
            library.Script(
                eas ? QStringLiteral("GetEASMessage") : QStringLiteral("GetChannelMessage"), 0,
                {{QStringLiteral("kind"), kinds.at(i)}, {QStringLiteral("body"), bodies.at(i)}});
            eas ? poller.PollEASMessage() : poller.PollChannelMessage();
            const monitor::MessageBody body(bodies.at(i));
            eventLines += monitor::LiveMessageLines(eas, kinds.at(i), body, eventMarker,
                                                    util::TextTable::Source())
                              .lines;
        }
        QCOMPARE(eventLines, sink.lines);
        QVERIFY(!sink.lines.isEmpty() || kinds == QList<int>{9});
        QCOMPARE(eventMarker, consoleMarker);
    }

    void namesAndFields_data() {
        QTest::addColumn<bool>("eas");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QByteArray>("fields");  // a JSON object: fields the event must have
        const auto row = [](const char* name, bool eas, int kind, const char* body,
                            const char* event, const char* fields) {
            QTest::newRow(name) << eas << kind << Hex(body) << QString::fromLatin1(event)
                                << QByteArray(fields);
        };
        // A tagged passage (passage byte 0x31) goes forward by the live rule.
        row("tagged passage", false, 0, "0123456789ABCDEF 31 180506090807 0A0B0C0D", "passage",
            R"({"uid":"0123456789ABCDEF","direction":"forward","tag_data":"0A0B0C0D",
                "time":"2024-05-06T09:08:07","alarm":false})");
        row("no person", false, 0, "0000000000000000 01 180506090807", "no_person",
            R"({"direction":"no_person"})");
        row("infrared off", false, 0, "0123456789ABCDEF 04 180506090807", "passage",
            R"({"direction":"infrared_off"})");
        row("statistics", false, 1, "0300 0200 0100 0500 180506090807", "statistics",
            R"({"forward":3,"reverse":2,"undetermined":1,"tags":5})");
        row("tag time-out with data", false, 2, "0123456789ABCDEF 180506090807 03 AABB",
            "tag_timeout", R"({"uid":"0123456789ABCDEF","tag_data":"AABB"})");
        row("passage time-out", false, 3, "180506090807", "passage_timeout",
            R"({"time":"2024-05-06T09:08:07"})");
        row("infrared alarm", false, 4, "180506090807", "infrared_alarm", "{}");
        row("unknown channel kind", false, 7, "01", "unknown",
            R"({"kind":7,"time":null,"time_raw":null})");
        row("invalid time", false, 3, "180D20190807", "passage_timeout",
            R"({"time":null,"time_raw":"180D20190807"})");
        row("eas passage", true, 0, "02 180506090807", "passage",
            R"({"direction":"reverse","alarm":false,"time":"2024-05-06T09:08:07"})");
        row("eas alarm", true, 0, "04 180506090807", "eas_alarm", R"({"alarm":true})");
        row("eas alarm, infrared off", true, 0, "05 180506090807", "eas_alarm",
            R"({"alarm":true,"direction":"infrared_off"})");
        row("eas no person", true, 0, "00 180506090807", "no_person", "{}");
        row("eas statistics", true, 0x20, "0100 0200 0300 180506090807", "statistics",
            R"({"forward":1,"reverse":2,"undetermined":3})");
        row("eas passage time-out", true, 0x21, "180506090807", "passage_timeout", "{}");
        row("eas infrared alarm", true, 0x22, "180506090807", "infrared_alarm", "{}");
        row("eas unknown status", true, 0, "09 180506090807", "unknown", "{}");
    }

    void namesAndFields() {
        QFETCH(bool, eas);
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(QString, event);
        QFETCH(QByteArray, fields);
        monitor::LiveEventInput in;
        in.gate = QStringLiteral("entrance-1");
        in.id = QStringLiteral("abc-entrance-1-7");
        in.easMode = eas;
        in.kind = kind;
        in.body = monitor::MessageBody(body);
        in.received = QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7, 250), QTimeZone(3600));
        QString marker;
        in.lines = monitor::LiveMessageLines(eas, kind, in.body, marker, util::TextTable::Source());
        const QJsonObject o = monitor::LiveEventObject(in);
        QCOMPARE(o.value(QStringLiteral("event")).toString(), event);
        QCOMPARE(o.value(QStringLiteral("mode")).toString(),
                 eas ? QStringLiteral("eas") : QStringLiteral("channel"));
        QCOMPARE(o.value(QStringLiteral("received")).toString(),
                 QStringLiteral("2026-05-06T09:08:07.250+01:00"));
        QCOMPARE(o.value(QStringLiteral("body")).toString(),
                 QString::fromLatin1(body.toHex().toUpper()));
        QCOMPARE(o.value(QStringLiteral("lines")).toArray().size(), in.lines.lines.size());
        const QJsonObject expected = QJsonDocument::fromJson(fields).object();
        QVERIFY(!fields.isEmpty() && (fields == "{}") == expected.isEmpty());
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            QVERIFY2(o.contains(it.key()), qPrintable(it.key()));
            QCOMPARE(o.value(it.key()), it.value());
        }
        // Every event has a time; one that is null says why with time_raw.
        QVERIFY(o.contains(QStringLiteral("time")));
        QCOMPARE(o.value(QStringLiteral("time")).isNull(), o.contains(QStringLiteral("time_raw")));
    }
};

QTEST_GUILESS_MAIN(TestLiveEvent)
#include "test_live_event.moc"
