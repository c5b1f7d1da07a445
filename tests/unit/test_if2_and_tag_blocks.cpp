#include <QTest>

#include "core/monitor/if2_decoder.h"
#include "core/monitor/tag_blocks.h"
#include "util/conversions.h"

using monitor::TagBlockRow;
using monitor::TagReadInput;
using monitor::TagReadRefusal;
using monitor::TagReadRequest;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

QByteArray WithCrc(QByteArray frame) {
    const auto crc = util::Crc16(frame);
    frame.append(static_cast<char>(crc[0]));
    frame.append(static_cast<char>(crc[1]));
    return frame;
}

// A valid 20-byte IF2 tag report.
QByteArray TagReport(int lastUidByte) {
    return WithCrc(Bytes({20, 0xAA, 0xBB, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, lastUidByte,
                          0xCC, 12, 5, 6, 9, 8, 7}));
}

const QString kReportHead = QStringLiteral("2012-05-06 09:08:07   01 23 45 67 89 AB CD ");

}  // namespace

class TestIF2AndTagBlocks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void if2Reads_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("countBefore");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("countAfter");
        const QString crc = QStringLiteral("CRC校验错误");
        QTest::newRow("two reports numbered on from earlier reads")
            << (TagReport(0xEF) + TagReport(0x01)) << 4
            << QStringList{kReportHead % u"EF  5", kReportHead % u"01  6"} << 6;
        QTest::newRow("empty read") << QByteArray() << 2 << QStringList{} << 2;
        QTest::newRow("valid 12-byte frame gives a hint of 10 bytes")
            << WithCrc(Bytes({12, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << 0
            << QStringList{QStringLiteral("提示:0C010203040506070809")} << 0;
        QTest::newRow("valid 5-byte frame hints all its bytes")
            << WithCrc(Bytes({5, 0x7F, 0x80})) << 0
            << QStringList{QString(u"提示:" % util::BytesToHex(WithCrc(Bytes({5, 0x7F, 0x80}))))}
            << 0;
        QTest::newRow("wrong check then a good report")
            << (Bytes({20}) + QByteArray(19, '\x11') + TagReport(0xEF)) << 0
            << QStringList{crc, kReportHead % u"EF  1"} << 1;
        QTest::newRow("frame cut short by the end of the read")
            << (TagReport(0xEF) + TagReport(0x02).first(11)) << 0
            << QStringList{kReportHead % u"EF  1", crc} << 1;
        QTest::newRow("rest of a cut frame gives error lines, not a report")
            << TagReport(0x02).sliced(11) << 1 << QStringList{crc} << 1;
        QTest::newRow("frames shorter than five bytes fail")
            << Bytes({3, 1, 2, 4, 9, 9, 9}) << 0 << QStringList{crc, crc} << 0;
        QTest::newRow("zero length byte ends the read with one error")
            << (TagReport(0xEF) + Bytes({0, 20, 1, 2}) + TagReport(0x01)) << 0
            << QStringList{kReportHead % u"EF  1", crc} << 1;
    }
    void if2Reads() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, countBefore);
        QFETCH(QStringList, lines);
        QFETCH(int, countAfter);
        std::int32_t count = countBefore;
        QCOMPARE(monitor::DecodeIF2Read(bytes, count, util::TextTable::Source()), lines);
        QCOMPARE(count, countAfter);
    }

    void checkTagRead_data() {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("conversionError");
        QTest::addColumn<int>("sentStart");
        QTest::addColumn<int>("sentCount");
        const QString uid = QStringLiteral("0123456789abcdef");
        const QString wrong = QStringLiteral("请输入正确的数据");
        const QString uidError = QStringLiteral("UID数据错误");
        const QString limit4 = QStringLiteral("块长度为4字节时一次最多读取16个块");
        const QString limit8 = QStringLiteral("块长度为8字节时一次最多读取8个块");
        const QString none;
        QTest::newRow("ordinary read") << uid << "3"
                                       << "2"
                                       << "4" << none << none << 3 << 2;
        QTest::newRow("empty start block") << uid << ""
                                           << "2"
                                           << "4" << wrong << none << 0 << 0;
        QTest::newRow("empty count before a bad UID") << QString() << "1"
                                                      << ""
                                                      << "4" << wrong << none << 0 << 0;
        QTest::newRow("UID of 15 characters") << uid.left(15) << "1"
                                              << "2"
                                              << "4" << uidError << none << 0 << 0;
        QTest::newRow("empty UID") << QString() << "1"
                                   << "2"
                                   << "4" << uidError << none << 0 << 0;
        QTest::newRow("count 17 at length 4") << uid << "0"
                                              << "17"
                                              << "4" << limit4 << none << 0 << 0;
        QTest::newRow("count 16 at length 4") << uid << "0"
                                              << "16"
                                              << "4" << none << none << 0 << 16;
        QTest::newRow("count 9 at length 8") << uid << "0"
                                             << "9"
                                             << "8" << limit8 << none << 0 << 0;
        QTest::newRow("count 8 at length 8") << uid << "0"
                                             << "8"
                                             << "8" << none << none << 0 << 8;
        QTest::newRow("count limit on the number as entered") << uid << "0"
                                                              << "272"
                                                              << "4" << limit4 << none << 0 << 0;
        QTest::newRow("pasted negative count refused") << uid << "0"
                                                       << "-1"
                                                       << "4" << limit4 << none << 0 << 0;
        QTest::newRow("start block 300 sent as 44") << uid << "300"
                                                    << "2"
                                                    << "4" << none << none << 44 << 2;
        QTest::newRow("pasted text that is no number") << uid << "1x"
                                                       << "2"
                                                       << "4" << none << "1x" << 0 << 0;
        QTest::newRow("UID pair that is no hex") << QStringLiteral("0123456789abcdeg") << "1"
                                                 << "2"
                                                 << "4" << none << "eg" << 0 << 0;
    }
    void checkTagRead() {
        QFETCH(QString, uid);
        QFETCH(QString, start);
        QFETCH(QString, count);
        QFETCH(QString, length);
        QFETCH(QString, message);
        QFETCH(QString, conversionError);
        QFETCH(int, sentStart);
        QFETCH(int, sentCount);
        const auto checked = monitor::CheckTagRead({uid, start, count, length});
        if (message.isEmpty() && conversionError.isEmpty()) {
            QVERIFY(std::holds_alternative<TagReadRequest>(checked));
            const auto& r = std::get<TagReadRequest>(checked);
            QCOMPARE(int(r.startBlock), sentStart);
            QCOMPARE(int(r.blockCount), sentCount);
            QCOMPARE(int(r.blockLength), length.toInt());
            QCOMPARE(r.uid, (gate::Uid8{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}));
        } else {
            QVERIFY(std::holds_alternative<TagReadRefusal>(checked));
            QCOMPARE(std::get<TagReadRefusal>(checked).message, message);
            QCOMPARE(std::get<TagReadRefusal>(checked).conversionError, conversionError);
        }
    }

    void blockRows_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QList<TagBlockRow>>("rows");
        QTest::newRow("two blocks of 4 from block 3")
            << 3 << 2 << 4 << Bytes({0x00, 0x0A, 0x0B, 0x0C, 0x0D, 0x01, 0xF0, 0xF1, 0xF2, 0xF3})
            << QList<TagBlockRow>{{QStringLiteral("3"), QStringLiteral("00  0A0B0C0D")},
                                  {QStringLiteral("4"), QStringLiteral("01  F0F1F2F3")}};
        QTest::newRow("one block of 8")
            << 44 << 1 << 8 << Bytes({0x10, 1, 2, 3, 4, 5, 6, 7, 8})
            << QList<TagBlockRow>{{QStringLiteral("44"), QStringLiteral("10  0102030405060708")}};
        QTest::newRow("numbers go on past 255")
            << 255 << 2 << 4 << QByteArray(10, '\0')
            << QList<TagBlockRow>{{QStringLiteral("255"), QStringLiteral("00  00000000")},
                                  {QStringLiteral("256"), QStringLiteral("00  00000000")}};
        QTest::newRow("short response never read past")
            << 0 << 3 << 4 << QByteArray(7, '\0')
            << QList<TagBlockRow>{{QStringLiteral("0"), QStringLiteral("00  00000000")}};
        QTest::newRow("no blocks") << 0 << 0 << 4 << QByteArray(80, '\0') << QList<TagBlockRow>{};
    }
    void blockRows() {
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(int, length);
        QFETCH(QByteArray, response);
        QFETCH(QList<TagBlockRow>, rows);
        TagReadRequest request;
        request.startBlock = static_cast<gate::Byte>(start);
        request.blockCount = static_cast<gate::Byte>(count);
        request.blockLength = static_cast<gate::Byte>(length);
        QCOMPARE(monitor::TagBlockRows(request, response), rows);
    }
};

QTEST_APPLESS_MAIN(TestIF2AndTagBlocks)
#include "test_if2_and_tag_blocks.moc"
