#include "core/records/record_lines.h"
#include "core/records/record_text.h"
#include "core/records/stored_record.h"

#include <QTest>

#include <vector>

using records::StoredRecord;

namespace {

std::vector<gate::Byte> Bytes(std::initializer_list<int> values) {
    std::vector<gate::Byte> out;
    for (int v : values) {
        out.push_back(static_cast<gate::Byte>(v));
    }
    return out;
}

// A body from its parts, in the order they are laid out.
std::vector<gate::Byte> Concat(std::initializer_list<std::vector<gate::Byte>> parts) {
    std::vector<gate::Byte> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

const auto kUid = Bytes({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
const auto kUidFF = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
const auto kUidZero = Bytes({0, 0, 0, 0, 0, 0, 0, 0});
const auto kTime = Bytes({12, 5, 6, 9, 8, 7});
const QString kT = QStringLiteral("2012-05-06 09:08:07 ");
const QString kU = QStringLiteral("01 23 45 67 89 AB CD EF");
const QString kP1 = QStringLiteral("第1条记录    ");
const QString kP3 = QStringLiteral("第3条记录    ");
const QString kP7 = QStringLiteral("第7条记录    ");

}  // namespace

class TestRecordLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timeAndUidTexts();
    void shortBodyReadsZerosWithinTheBody();

    // The three formats side by side for each kind: earliest, index 3 and export line 7.
    void formatsSideBySide_data();
    void formatsSideBySide();
};

void TestRecordLines::timeAndUidTexts() {
    QCOMPARE(records::TimeText({12, 5, 6, 9, 8, 7}), kT);
    QCOMPARE(records::TimeText({99, 12, 31, 23, 59, 59}), QStringLiteral("2099-12-31 23:59:59 "));
    QCOMPARE(records::SpacedUidText({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}), kU);
    QCOMPARE(records::UidText({0, 0, 0, 0, 0, 0, 0, 0x0A}), QStringLiteral("000000000000000A"));
    QCOMPARE(records::DirectionText(3, util::TextTable::Source()), QStringLiteral("方向不定"));
    QCOMPARE(records::DirectionText(0x81, util::TextTable::Source()), QString());
}

void TestRecordLines::shortBodyReadsZerosWithinTheBody() {
    // A body of 17 buffer bytes with only 3 valid ones: the rest must not leak into the record.
    const std::vector<gate::Byte> buffer(17, 0x55);
    const StoredRecord r(3, buffer, 3);
    QCOMPARE(r.Length(), 3);
    QCOMPARE(r.TimeAt(0), (gate::Clock6{0x55, 0x55, 0x55, 0, 0, 0}));
    // A length larger than the buffer is clamped to it.
    const StoredRecord clamped(0, Bytes({1, 2}), 40);
    QCOMPARE(clamped.Length(), 2);
    QCOMPARE(clamped.At(5), gate::Byte{0});
}

void TestRecordLines::formatsSideBySide_data() {
    QTest::addColumn<int>("kindByte");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("earliest");
    QTest::addColumn<QString>("indexed");
    QTest::addColumn<QString>("exported");

    const auto row = [](const char* name, int k, const std::vector<gate::Byte>& body,
                        const QString& e, const QString& i, const QString& x) {
        QTest::newRow(name) << k
                            << QByteArray(reinterpret_cast<const char*>(body.data()),
                                          static_cast<qsizetype>(body.size()))
                            << e << i << x;
    };

    row("passage forward", 0, Concat({kUid, Bytes({1}), kTime}),
        kP1 % kT % kU % QStringLiteral("  正向"), kP3 % kT % kU % QStringLiteral(" 正向"),
        kP7 % kT % QStringLiteral("   ") % kU % QStringLiteral(" 正向"));
    row("passage reverse", 0, Concat({kUid, Bytes({2}), kTime}),
        kP1 % kT % kU % QStringLiteral("  反向"), kP3 % kT % kU % QStringLiteral(" 反向"),
        kP7 % kT % QStringLiteral("   ") % kU % QStringLiteral(" 反向"));
    row("passage byte outside 1 to 4 gives an empty direction", 0,
        Concat({kUid, Bytes({0x11}), kTime}), kP1 % kT % kU % QStringLiteral("  "),
        kP3 % kT % kU % u' ', kP7 % kT % QStringLiteral("   ") % kU % u' ');
    row("all-zero uid is no person", 0, Concat({kUidZero, Bytes({1}), kTime}),
        kP1 % kT % QStringLiteral("  无人"), kP3 % kT % QStringLiteral(" 无人"),
        kP7 % kT % QStringLiteral("   无人"));
    row("passage byte 0 with a real uid is no person", 0, Concat({kUid, Bytes({0}), kTime}),
        kP1 % kT % QStringLiteral("  无人"), kP3 % kT % QStringLiteral(" 无人"),
        kP7 % kT % QStringLiteral("   无人"));
    const QString ff = QStringLiteral("FF FF FF FF FF FF FF FF");
    row("all-FF uid", 0, Concat({kUidFF, Bytes({3}), kTime}),
        kP1 % kT % u' ' % ff % QStringLiteral(" 方向不定"),
        kP3 % kT % ff % QStringLiteral(" 方向不定"),
        kP7 % kT % QStringLiteral("   ") % ff % QStringLiteral(" 方向不定"));
    row("all-FF uid is checked before infrared off", 0, Concat({kUidFF, Bytes({4}), kTime}),
        kP1 % kT % u' ' % ff % QStringLiteral(" 红外已关闭"),
        kP3 % kT % ff % QStringLiteral(" 红外已关闭"),
        kP7 % kT % QStringLiteral("   ") % ff % QStringLiteral(" 红外已关闭"));
    row("infrared off", 0, Concat({kUid, Bytes({4}), kTime}),
        kP1 % kT % kU % QStringLiteral("  红外已关闭"),
        kP3 % kT % kU % QStringLiteral(" 红外已关闭"),
        kP7 % kT % QStringLiteral("   ") % kU % QStringLiteral(" 红外已关闭"));
    row("statistics, counts little-endian", 1,
        Concat({Bytes({0x2C, 0x01, 2, 0, 0, 0, 0xFF, 0xFF}), kTime}),
        kP1 % kT % QStringLiteral("300人正向2人反向 0方向不定共检测到65535张卡片"),
        kP3 % kT % QStringLiteral("300人正向 2人反向 0方向不定共检测到65535张卡片"),
        kP7 % kT % QStringLiteral("   300人正向 2人反向 0方向不定共检测到65535张卡片"));
    row("tag time-out", 2, Concat({kUid, kTime}), kP1 % kT % kU % QStringLiteral(" 超时"),
        kP3 % kT % kU % QStringLiteral(" 超时"),
        kP7 % kT % QStringLiteral("   ") % kU % QStringLiteral(" 超时"));
    row("passage time-out", 3, kTime, kP1 % kT % QStringLiteral(" 通过超时"),
        kP3 % kT % QStringLiteral(" 通过超时"), kP7 % kT % QStringLiteral("   通过超时"));
    row("infrared detection alarm", 4, kTime, kP1 % kT % QStringLiteral(" 红外探测报警"),
        kP3 % kT % QStringLiteral(" 红外探测报警"), kP7 % kT % QStringLiteral("   红外探测报警"));
    const QString clock = QStringLiteral(
        "设置实时时钟设置前时钟:  2012-05-06 09:08:07   设置后时钟:  "
        "2024-01-01 08:30:00 ");
    row("clock set, exported in the record-by-index format", 8,
        Concat({kTime, Bytes({24, 1, 1, 8, 30, 0})}), kP1 % clock, kP3 % clock, kP7 % clock);
    row("kind 5 has no line", 5, kTime, QString(), QString(), QString());
    row("length 0 has no line", 0, {}, QString(), QString(), QString());
}

void TestRecordLines::formatsSideBySide() {
    QFETCH(int, kindByte);
    QFETCH(QByteArray, body);
    QFETCH(QString, earliest);
    QFETCH(QString, indexed);
    QFETCH(QString, exported);
    const StoredRecord r(static_cast<gate::Byte>(kindByte),
                         std::span(reinterpret_cast<const gate::Byte*>(body.constData()),
                                   static_cast<std::size_t>(body.size())),
                         static_cast<int>(body.size()));
    QCOMPARE(records::EarliestRecordLine(r, util::TextTable::Source()), earliest);
    QCOMPARE(records::IndexedRecordLine(3, r, util::TextTable::Source()), indexed);
    QCOMPARE(records::ExportLine(7, r, util::TextTable::Source()), exported);
}

QTEST_GUILESS_MAIN(TestRecordLines)
#include "test_record_lines.moc"
