#include <QTest>

#include "core/monitor/message_poller.h"
#include "core/monitor/message_text.h"
#include "scripted_gate_library.h"

#include <functional>

using monitor::MonitorList;
using testing_support::ScriptedGateLibrary;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

const QByteArray kTime = Bytes({12, 5, 6, 9, 8, 7});
const QByteArray kUid = Bytes({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
const QByteArray kZeroUid(8, '\0');
const QByteArray kFFUid(8, '\xFF');

QVariantMap Message(int kind, const QByteArray& body) {
    return {{QStringLiteral("kind"), kind}, {QStringLiteral("body"), body}};
}

// Records what the poll shows, in one event log so the order of lines, scrolls and reports can
// be checked against the library calls.
class RecordingSink final : public monitor::PollSink {
public:
    void AppendLine(MonitorList list, const QString& line) override {
        lines[list].append(line);
        events.append(monitor::ListObjectName(list) % u"+");
        Sequence(monitor::ListObjectName(list) % u"+");
    }
    // One log of list appends and library calls in the order they happened.
    QStringList Sequence(const QString& event = {}) {
        if (library != nullptr) {
            for (qsizetype i = callsSeen; i < library->Calls().size(); ++i) {
                sequence.append(library->Calls().at(i).op);
            }
            callsSeen = library->Calls().size();
        }
        if (!event.isEmpty()) {
            sequence.append(event);
        }
        return sequence;
    }
    void ScrollToNewest(MonitorList list) override {
        events.append(u"scroll " % monitor::ListObjectName(list));
    }
    void ProcessPendingEvents() override {
        ++processed;
        if (duringProcessing) {
            duringProcessing();
        }
    }
    std::optional<std::array<gate::Byte, 6>> LedBuzzerSelection() override {
        return std::array<gate::Byte, 6>{1, 2, 3, 4, 5, 6};
    }
    void Report(const QString& caption, std::int32_t result, gate::Byte status) override {
        reports.append({caption, result, status});
        events.append(QStringLiteral("report"));
    }

    struct Reported {
        QString caption;
        std::int32_t result;
        gate::Byte status;
    };
    QHash<MonitorList, QStringList> lines;
    QStringList events;
    const ScriptedGateLibrary* library = nullptr;
    QStringList sequence;
    qsizetype callsSeen = 0;
    QList<Reported> reports;
    int processed = 0;
    std::function<void()> duringProcessing;
};

// The main window's fields that a poll uses.
struct Fields {
    gate::ConnectionState connection;
    bool PollBusy = false;
    QString LastNoPersonText;
};

}  // namespace

class TestMessagePoller : public QObject {
    Q_OBJECT

    ScriptedGateLibrary* lib_ = nullptr;
    Fields* fields_ = nullptr;
    RecordingSink* sink_ = nullptr;
    monitor::MessagePoller* poller_ = nullptr;

private Q_SLOTS:
    void init() {
        lib_ = new ScriptedGateLibrary;
        fields_ = new Fields;
        fields_->connection.PortHandle = 1030;
        fields_->connection.ControllerAddress = 7;
        sink_ = new RecordingSink;
        sink_->library = lib_;
        poller_ = new monitor::MessagePoller(
            *lib_, {fields_->connection, fields_->PollBusy, fields_->LastNoPersonText}, *sink_,
            util::TextTable::Source());
    }
    void cleanup() {
        delete poller_;
        delete sink_;
        delete fields_;
        delete lib_;
    }

    // Library calls and list growth of one channel poll by message.
    void channelPoll_data() {
        QTest::addColumn<QString>("lastBefore");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<int>("passageLines");
        QTest::addColumn<int>("tagLines");
        const QString zeros = monitor::kNoPersonUid;
        const QStringList fetch{QStringLiteral("GetChannelMessage")};
        const QString ack = QStringLiteral("Acknowledge");
        const QString led = QStringLiteral("BuzzerAndLEDControl");
        QTest::newRow("real tag: ack, then LED and buzzer")
            << QString() << 0 << 0 << (kUid + Bytes({0x01}) + kTime)
            << (fetch + QStringList{ack, led}) << 1 << 0;
        QTest::newRow("real tag with tag data: two acks around the LED command")
            << QString() << 0 << 0 << (kUid + Bytes({0x31}) + kTime + Bytes({1, 2, 3, 4, 5}))
            << (fetch + QStringList{ack, led, ack}) << 1 << 2;
        QTest::newRow("all-FF UID without LED command")
            << QString() << 0 << 0 << (kFFUid + Bytes({0x01}) + kTime) << (fetch + QStringList{ack})
            << 1 << 0;
        QTest::newRow("infrared off without LED command")
            << QString() << 0 << 0 << (kUid + Bytes({0x04}) + kTime) << (fetch + QStringList{ack})
            << 1 << 0;
        QTest::newRow("first no-person acknowledged")
            << QString() << 0 << 0 << (kZeroUid + Bytes({0x01}) + kTime)
            << (fetch + QStringList{ack}) << 1 << 0;
        QTest::newRow("repeated no-person neither shown nor acknowledged")
            << zeros << 0 << 0 << (kZeroUid + Bytes({0x01}) + kTime) << fetch << 0 << 0;
        QTest::newRow("repeated no-person with tag data acknowledged once")
            << zeros << 0 << 0 << (kZeroUid + Bytes({0x31}) + kTime + Bytes({9}))
            << (fetch + QStringList{ack}) << 0 << 2;
        QTest::newRow("statistics acknowledged once")
            << QString() << 0 << 1 << (QByteArray(8, '\0') + kTime) << (fetch + QStringList{ack})
            << 0 << 0;
        QTest::newRow("unknown kind 5 not acknowledged")
            << QString() << 0 << 5 << kTime << fetch << 0 << 0;
        QTest::newRow("failed fetch not acknowledged")
            << QString() << 48 << 0 << (kUid + Bytes({0x01}) + kTime) << fetch << 0 << 0;
    }
    void channelPoll() {
        QFETCH(QString, lastBefore);
        QFETCH(int, result);
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(QStringList, ops);
        QFETCH(int, passageLines);
        QFETCH(int, tagLines);
        fields_->LastNoPersonText = lastBefore;
        lib_->Script(QStringLiteral("GetChannelMessage"), result, Message(kind, body));
        poller_->PollChannelMessage();
        QCOMPARE(lib_->Ops(), ops);
        QCOMPARE(sink_->lines.value(MonitorList::ListBox2).size(), passageLines);
        QCOMPARE(sink_->lines.value(MonitorList::ListBox7).size(), tagLines);
        QVERIFY(!fields_->PollBusy);
        QCOMPARE(sink_->reports.size(), 1);
        QCOMPARE(sink_->reports.front().caption, QStringLiteral("获取命令"));
        QCOMPARE(sink_->reports.front().result, result);
    }

    void ledCommandArguments() {
        lib_->Script(QStringLiteral("GetChannelMessage"), 0,
                     Message(0, kUid + Bytes({0x01}) + kTime));
        poller_->PollChannelMessage();
        const auto calls = lib_->CallsOf(QStringLiteral("BuzzerAndLEDControl"));
        QCOMPARE(calls.size(), 1);
        // address, the six list indexes, LED colour red (0), handle
        QCOMPARE(calls.front().args, (QVariantList{7, 1, 2, 3, 4, 5, 6, 0, 1030}));
        QCOMPARE(lib_->CallsOf(QStringLiteral("Acknowledge")).front().args,
                 (QVariantList{7, 1030}));
    }

    // Every line of a message is shown before its first acknowledgement, whatever the lamp and
    // buzzer command does after it; the requests keep their order on the wire.
    void everyLineBeforeTheAcknowledgement_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("ledResult");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("caption");
        const QString fetch = QStringLiteral("GetChannelMessage");
        const QString ack = QStringLiteral("Acknowledge");
        const QString led = QStringLiteral("BuzzerAndLEDControl");
        const QString passage = QStringLiteral("ListBox2+");
        const QString tag = QStringLiteral("ListBox7+");
        const QString poll = QStringLiteral("获取命令");
        const QByteArray tagged = kUid + Bytes({0x31}) + kTime + Bytes({1, 2, 3, 4, 5});
        QTest::newRow("lamp command fails: no line lost, failure reported")
            << 0 << tagged << 48 << QStringList{fetch, passage, tag, tag, ack, led}
            << QStringLiteral("控制LED、蜂鸣器");
        QTest::newRow("lamp command refused")
            << 0 << tagged << 51 << QStringList{fetch, passage, tag, tag, ack, led}
            << QStringLiteral("控制LED、蜂鸣器");
        QTest::newRow("lamp command done")
            << 0 << tagged << 0 << QStringList{fetch, passage, tag, tag, ack, led, ack} << poll;
        QTest::newRow("all-FF UID with tag data")
            << 0 << (kFFUid + Bytes({0x31}) + kTime + Bytes({7})) << 0
            << QStringList{fetch, passage, tag, tag, ack, ack} << poll;
        QTest::newRow("tag time-out with tag data")
            << 2 << (kUid + kTime + Bytes({0x13, 9, 9})) << 0
            << QStringList{fetch, QStringLiteral("ListBox5+"), tag, tag, ack} << poll;
    }
    void everyLineBeforeTheAcknowledgement() {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(int, ledResult);
        QFETCH(QStringList, expected);
        QFETCH(QString, caption);
        lib_->Script(QStringLiteral("GetChannelMessage"), 0, Message(kind, body));
        lib_->Script(QStringLiteral("BuzzerAndLEDControl"), ledResult);
        poller_->PollChannelMessage();
        const QStringList sequence = sink_->Sequence();
        QCOMPARE(sequence, expected);
        const qsizetype firstAck = sequence.indexOf(QStringLiteral("Acknowledge"));
        QVERIFY(firstAck > 0);
        qsizetype lastLine = -1;
        for (qsizetype i = 0; i < sequence.size(); ++i) {
            lastLine = sequence[i].endsWith(u'+') ? i : lastLine;
        }
        QCOMPARE(lastLine, firstAck - 1);
        QVERIFY(!fields_->PollBusy);
        QCOMPARE(sink_->reports.size(), 1);
        QCOMPARE(sink_->reports.front().caption, caption);
        QCOMPARE(sink_->reports.front().result, kind == 0 ? ledResult : 0);
    }

    void channelPassageOrderOfWork() {
        lib_->Script(QStringLiteral("GetChannelMessage"), 0,
                     Message(0, kFFUid + Bytes({0x31}) + kTime + Bytes({1})));
        poller_->PollChannelMessage();
        QCOMPARE(sink_->processed, 2);
        QCOMPARE(sink_->events,
                 (QStringList{QStringLiteral("ListBox2+"), QStringLiteral("ListBox7+"),
                              QStringLiteral("ListBox7+"), QStringLiteral("scroll ListBox2"),
                              QStringLiteral("scroll ListBox7"), QStringLiteral("report")}));
    }

    // Pending events are processed before PollBusy is set and again, inside kind 0, while it
    // is set and before the acknowledgement.
    void pendingEventsAroundPollBusy() {
        QList<bool> busyWhenProcessing;
        QList<int> acksWhenProcessing;
        sink_->duringProcessing = [&] {
            busyWhenProcessing.append(fields_->PollBusy);
            acksWhenProcessing.append(lib_->CountOf(QStringLiteral("Acknowledge")));
        };
        lib_->Script(QStringLiteral("GetChannelMessage"), 0,
                     Message(0, kUid + Bytes({0x02}) + kTime));
        poller_->PollChannelMessage();
        QCOMPARE(busyWhenProcessing, (QList<bool>{false, true}));
        QCOMPARE(acksWhenProcessing, (QList<int>{0, 0}));
    }

    void easPoll_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("acks");
        QTest::addColumn<int>("lst1Lines");
        QTest::newRow("regular event acknowledged") << 0 << 0x00 << (Bytes({1}) + kTime) << 1 << 1;
        QTest::newRow("unknown kind 0x23 acknowledged") << 0 << 0x23 << kTime << 1 << 0;
        QTest::newRow("failed fetch not acknowledged")
            << 48 << 0x00 << (Bytes({1}) + kTime) << 0 << 0;
        QTest::newRow("CRC error not acknowledged") << 49 << 0x00 << (Bytes({1}) + kTime) << 0 << 0;
    }
    void easPoll() {
        QFETCH(int, result);
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(int, acks);
        QFETCH(int, lst1Lines);
        lib_->Script(QStringLiteral("GetEASMessage"), result, Message(kind, body));
        poller_->PollEASMessage();
        QCOMPARE(lib_->CountOf(QStringLiteral("Acknowledge")), acks);
        QCOMPARE(sink_->lines.value(MonitorList::Lst1).size(), lst1Lines);
        QCOMPARE(sink_->processed, 0);
        QVERIFY(!fields_->PollBusy);
        QCOMPARE(sink_->reports.size(), 1);
        QCOMPARE(sink_->reports.front().result, result);
    }

    // The no-person marker is shared: each mode's no-person line re-arms the other's.
    void noPersonMarkerSharedByBothModes() {
        const QVariantMap channelNoPerson = Message(0, kZeroUid + Bytes({0x01}) + kTime);
        const QVariantMap easNoPerson = Message(0x00, Bytes({0}) + kTime);
        lib_->SetDefault(QStringLiteral("GetChannelMessage"), 0, channelNoPerson);
        lib_->SetDefault(QStringLiteral("GetEASMessage"), 0, easNoPerson);
        poller_->PollChannelMessage();
        poller_->PollChannelMessage();
        poller_->PollEASMessage();
        poller_->PollEASMessage();
        poller_->PollChannelMessage();
        QCOMPARE(sink_->lines.value(MonitorList::ListBox2).size(), 2);
        QCOMPARE(sink_->lines.value(MonitorList::Lst1).size(), 1);
        QCOMPARE(fields_->LastNoPersonText, monitor::kNoPersonUid);
        // channel: shown+ack, suppressed; EAS: ack, ack; channel: shown+ack
        QCOMPARE(lib_->CountOf(QStringLiteral("Acknowledge")), 4);
    }

    void oversizedLengthIsCutToTheBuffer() {
        QVariantMap m = Message(0, kUid + Bytes({0x31}) + kTime + QByteArray(45, '\x5A'));
        m.insert(QStringLiteral("length"), 200);
        lib_->Script(QStringLiteral("GetChannelMessage"), 0, m);
        poller_->PollChannelMessage();
        const QStringList tag = sink_->lines.value(MonitorList::ListBox7);
        QCOMPARE(tag.size(), 2);
        QCOMPARE(tag.at(1), QString(QString(10, u' ') % QStringLiteral("5A").repeated(32)));
    }
};

QTEST_APPLESS_MAIN(TestMessagePoller)
#include "test_message_poller.moc"
