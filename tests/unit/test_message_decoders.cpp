#include <QTest>

#include "core/monitor/channel_decoder.h"
#include "core/monitor/eas_decoder.h"
#include "core/monitor/message_text.h"

using monitor::DisplayLines;
using monitor::MessageBody;
using monitor::MonitorList;
using monitor::PassageAction;

Q_DECLARE_METATYPE(monitor::PassageAction)

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

const QByteArray kTime = Bytes({12, 5, 6, 9, 8, 7});
const QString kTimeText = QStringLiteral("2012-05-06 09:08:07 ");
const QByteArray kUid = Bytes({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
const QByteArray kZeroUid(8, '\0');
const QByteArray kFFUid(8, '\xFF');

// Kind 0 body: UID, passage byte, time, tag data.
MessageBody Passage(const QByteArray& uid, int passageByte, const QByteArray& tagData = {}) {
    return MessageBody(uid + Bytes({passageByte}) + kTime + tagData);
}

using Lines = QList<std::pair<MonitorList, QString>>;

}  // namespace

class TestMessageDecoders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timeText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ordinary") << kTime << kTimeText;
        QTest::newRow("year 5 and minute 0")
            << Bytes({5, 1, 2, 3, 0, 9}) << QStringLiteral("2005-01-02 03:00:09 ");
        QTest::newRow("three-digit field keeps its digits")
            << Bytes({255, 12, 31, 23, 59, 100}) << QStringLiteral("20255-12-31 23:59:100 ");
        QTest::newRow("missing bytes read as zero")
            << Bytes({12, 5}) << QStringLiteral("2012-05-00 00:00:00 ");
    }
    void timeText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(monitor::TimeText(MessageBody(bytes), 0), text);
    }

    void uidTexts() {
        const MessageBody body(kUid);
        QCOMPARE(monitor::PlainUidText(body, 0), QStringLiteral("0123456789ABCDEF"));
        QCOMPARE(monitor::SpacedUidText(body, 0), QStringLiteral("01 23 45 67 89 AB CD EF"));
        QCOMPARE(monitor::SpacedUidText(MessageBody(Bytes({0xAB})), 0),
                 QStringLiteral("AB 00 00 00 00 00 00 00"));
    }

    void bufferLengthIsClamped() {
        std::array<gate::Byte, 47> buffer{};
        buffer.fill(7);
        QCOMPARE(MessageBody::FromBuffer(buffer, 255).Size(), 47);
        QCOMPARE(MessageBody::FromBuffer(buffer, 3).Size(), 3);
        QCOMPARE(MessageBody::FromBuffer(buffer, 3).At(3), 0);
    }

    void passageLines_data() {
        QTest::addColumn<int>("passageByte");
        QTest::addColumn<QString>("line");
        const QString head = kTimeText % u" 01 23 45 67 89 AB CD EF ";
        QTest::newRow("forward") << 0x01 << QString(head % u"正向");
        QTest::newRow("reverse") << 0x02 << QString(head % u"反向");
        QTest::newRow("undetermined") << 0x03 << QString(head % u"方向不定");
        QTest::newRow("infrared off") << 0x04 << QString(head % u"红外已关闭");
        QTest::newRow("unknown direction ends in a space") << 0x05 << head;
        QTest::newRow("zero direction ends in a space") << 0x00 << head;
        QTest::newRow("tag data nibble does not change direction")
            << 0x32 << QString(head % u"反向");
    }
    void passageLines() {
        QFETCH(int, passageByte);
        QFETCH(QString, line);
        QCOMPARE(monitor::PassageLine(
                     monitor::DecodePassage(Passage(kUid, passageByte), util::TextTable::Source())),
                 line);
    }

    void noPersonLine() {
        const auto report =
            monitor::DecodePassage(Passage(kZeroUid, 0x01), util::TextTable::Source());
        QCOMPARE(monitor::NoPersonLine(report, util::TextTable::Source()),
                 QString(kTimeText % u"  无人"));
    }

    void classify_data() {
        QTest::addColumn<QByteArray>("uid");
        QTest::addColumn<int>("passageByte");
        QTest::addColumn<QString>("last");
        QTest::addColumn<PassageAction>("action");
        const QString zeros = monitor::kNoPersonUid;
        const QString eas = QStringLiteral("无人无EAS报警");
        QTest::newRow("first no-person shown")
            << kZeroUid << 1 << QString() << PassageAction::ShowNoPerson;
        QTest::newRow("no-person after EAS no-person shown")
            << kZeroUid << 1 << eas << PassageAction::ShowNoPerson;
        QTest::newRow("repeated no-person suppressed")
            << kZeroUid << 1 << zeros << PassageAction::Suppress;
        QTest::newRow("repeated no-person, infrared off, shown without alarm")
            << kZeroUid << 4 << zeros << PassageAction::Show;
        QTest::newRow("first no-person with infrared off is a no-person line")
            << kZeroUid << 4 << QString() << PassageAction::ShowNoPerson;
        QTest::newRow("all-FF never alarmed") << kFFUid << 1 << zeros << PassageAction::Show;
        QTest::newRow("real tag infrared off") << kUid << 4 << QString() << PassageAction::Show;
        QTest::newRow("real tag alarms") << kUid << 1 << zeros << PassageAction::ShowAndAlarm;
        QTest::newRow("real tag unknown direction alarms")
            << kUid << 9 << QString() << PassageAction::ShowAndAlarm;
    }
    void classify() {
        QFETCH(QByteArray, uid);
        QFETCH(int, passageByte);
        QFETCH(QString, last);
        QFETCH(PassageAction, action);
        QCOMPARE(
            monitor::ClassifyPassage(
                monitor::DecodePassage(Passage(uid, passageByte), util::TextTable::Source()), last),
            action);
    }

    void passageTagData_data() {
        QTest::addColumn<int>("passageByte");
        QTest::addColumn<QByteArray>("tagData");
        QTest::addColumn<QStringList>("lines");
        const QString first = kTimeText % u" 0123456789ABCDEF";
        QTest::newRow("high nibble 3 with five data bytes")
            << 0x31 << Bytes({0x0A, 0x0B, 0x0C, 0x0D, 0xEE})
            << QStringList{first, QStringLiteral("          0A0B0C0DEE")};
        QTest::newRow("high nibble 3 without data gives ten spaces")
            << 0x31 << QByteArray() << QStringList{first, QStringLiteral("          ")};
        QTest::newRow("high nibble 2 carries none") << 0x21 << Bytes({1, 2}) << QStringList{};
        QTest::newRow("low nibble 3 carries none") << 0x03 << Bytes({1, 2}) << QStringList{};
    }
    void passageTagData() {
        QFETCH(int, passageByte);
        QFETCH(QByteArray, tagData);
        QFETCH(QStringList, lines);
        const auto report =
            monitor::DecodePassage(Passage(kUid, passageByte, tagData), util::TextTable::Source());
        QCOMPARE(report.carriesTagData, !lines.isEmpty());
        QCOMPARE(report.tagDataLines, lines);
    }

    void shortPassageReadsZeros() {
        const auto report =
            monitor::DecodePassage(MessageBody(Bytes({0x01, 0x02})), util::TextTable::Source());
        QCOMPARE(report.plainUid, QStringLiteral("0102000000000000"));
        QCOMPARE(report.timeText, QStringLiteral("2000-00-00 00:00:00 "));
        QCOMPARE(report.direction, QString());
    }

    void channelEvents_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QList<MonitorList>>("scrolled");
        QTest::newRow("statistics, two lines, little-endian counts")
            << 1 << (Bytes({3, 0, 1, 0, 0, 0, 4, 0}) + kTime)
            << Lines{{MonitorList::ListBox3, kTimeText % u"3人正向 1人反向 0方向不定"},
                     {MonitorList::ListBox3, QStringLiteral("共检测到4张卡片")}}
            << QList<MonitorList>{MonitorList::ListBox3};
        QTest::newRow("statistics, high bytes count")
            << 1 << (Bytes({0x2C, 0x01, 0, 1, 0xFF, 0xFF, 0, 0}) + kTime)
            << Lines{{MonitorList::ListBox3, kTimeText % u"300人正向 256人反向 65535方向不定"},
                     {MonitorList::ListBox3, QStringLiteral("共检测到0张卡片")}}
            << QList<MonitorList>{MonitorList::ListBox3};
        const QList<MonitorList> tagScroll{MonitorList::ListBox5, MonitorList::ListBox7};
        const QString timeout = kTimeText % u"01 23 45 67 89 AB CD EF 超时";
        QTest::newRow("tag time-out with data flag 0x13")
            << 2 << (kUid + kTime + Bytes({0x13, 0xAA, 0xBB}))
            << Lines{{MonitorList::ListBox5, timeout},
                     {MonitorList::ListBox7, kTimeText % u" 0123456789ABCDEF"},
                     {MonitorList::ListBox7, QStringLiteral("          AABB")}}
            << tagScroll;
        QTest::newRow("tag time-out with flag 0x30 has no data")
            << 2 << (kUid + kTime + Bytes({0x30, 0xAA, 0xBB}))
            << Lines{{MonitorList::ListBox5, timeout}} << tagScroll;
        QTest::newRow("passage time-out")
            << 3 << kTime << Lines{{MonitorList::ListBox4, kTimeText % u" 通过超时"}}
            << QList<MonitorList>{MonitorList::ListBox4};
        QTest::newRow("infrared alarm")
            << 4 << kTime << Lines{{MonitorList::ListBox6, kTimeText % u" 红外探测报警"}}
            << QList<MonitorList>{MonitorList::ListBox6};
    }
    void channelEvents() {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(Lines, lines);
        QFETCH(QList<MonitorList>, scrolled);
        const auto decoded =
            monitor::DecodeChannelEvent(kind, MessageBody(body), util::TextTable::Source());
        QVERIFY(decoded.has_value());
        QCOMPARE(decoded->lines, lines);
        QCOMPARE(decoded->scrolled, scrolled);
    }

    void unknownChannelKinds() {
        QVERIFY(!monitor::DecodeChannelEvent(5, MessageBody(kTime), util::TextTable::Source())
                     .has_value());
        QVERIFY(!monitor::DecodeChannelEvent(0, MessageBody(kTime), util::TextTable::Source())
                     .has_value());
        QVERIFY(!monitor::DecodeChannelEvent(0x20, MessageBody(kTime), util::TextTable::Source())
                     .has_value());
    }

    void easMessages_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("lastBefore");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QString>("lastAfter");
        const QString eas = QStringLiteral("无人无EAS报警");
        const QString zeros = monitor::kNoPersonUid;
        QTest::newRow("first EAS no-person shown")
            << 0x00 << (Bytes({0}) + kTime) << QString()
            << Lines{{MonitorList::Lst1, kTimeText % u"   无人"}} << eas;
        QTest::newRow("EAS no-person after channel no-person shown")
            << 0x00 << (Bytes({0}) + kTime) << zeros
            << Lines{{MonitorList::Lst1, kTimeText % u"   无人"}} << eas;
        QTest::newRow("repeated EAS no-person adds nothing")
            << 0x00 << (Bytes({0}) + kTime) << eas << Lines{} << eas;
        QTest::newRow("status 1 keeps the marker")
            << 0x00 << (Bytes({1}) + kTime) << eas
            << Lines{{MonitorList::Lst1, kTimeText % u"   有人正向通过"}} << eas;
        QTest::newRow("status 2") << 0x00 << (Bytes({2}) + kTime) << QString()
                                  << Lines{{MonitorList::Lst1, kTimeText % u"   有人反向通过"}}
                                  << QString();
        QTest::newRow("status 3") << 0x00 << (Bytes({3}) + kTime) << QString()
                                  << Lines{{MonitorList::Lst1,
                                            kTimeText % u"   有人通过但方向不明"}}
                                  << QString();
        QTest::newRow("status 4") << 0x00 << (Bytes({4}) + kTime) << QString()
                                  << Lines{{MonitorList::Lst1, kTimeText % u"   红外打开有EAS报警"}}
                                  << QString();
        QTest::newRow("status 5") << 0x00 << (Bytes({5}) + kTime) << QString()
                                  << Lines{{MonitorList::Lst1,
                                            kTimeText % u"   红外已关闭有EAS报警"}}
                                  << QString();
        QTest::newRow("status 7 is time and three spaces")
            << 0x00 << (Bytes({7}) + kTime) << QString()
            << Lines{{MonitorList::Lst1, kTimeText % u"   "}} << QString();
        QTest::newRow("statistics without tag count")
            << 0x20 << (Bytes({3, 0, 1, 0, 2, 1}) + kTime) << QString()
            << Lines{{MonitorList::Lst2, kTimeText % u"   3人正向 1人反向 258方向不定"}}
            << QString();
        QTest::newRow("passage time-out")
            << 0x21 << kTime << QString() << Lines{{MonitorList::Lst3, kTimeText % u"   通过超时"}}
            << QString();
        QTest::newRow("infrared alarm")
            << 0x22 << kTime << QString()
            << Lines{{MonitorList::Lst4, kTimeText % u"   红外探测报警"}} << QString();
    }
    void easMessages() {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(QString, lastBefore);
        QFETCH(Lines, lines);
        QFETCH(QString, lastAfter);
        QString last = lastBefore;
        const auto decoded =
            monitor::DecodeEasMessage(kind, MessageBody(body), last, util::TextTable::Source());
        QVERIFY(decoded.has_value());
        QCOMPARE(decoded->lines, lines);
        QCOMPARE(last, lastAfter);
    }

    void unknownEasKind() {
        QString last;
        QVERIFY(
            !monitor::DecodeEasMessage(0x23, MessageBody(kTime), last, util::TextTable::Source())
                 .has_value());
        QVERIFY(
            !monitor::DecodeEasMessage(0x01, MessageBody(kTime), last, util::TextTable::Source())
                 .has_value());
        QVERIFY(last.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestMessageDecoders)
#include "test_message_decoders.moc"
