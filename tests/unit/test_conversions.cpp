#include <QTest>

#include "util/conversions.h"
#include "util/digit_checks.h"
#include "util/key_filter.h"

using util::DigitFilter;
using util::KeyVerdict;

class TestConversions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void digitChecks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dec");
        QTest::addColumn<bool>("hex");
        QTest::newRow("empty passes both") << QString() << true << true;
        QTest::newRow("decimal digits") << QStringLiteral("0123456789") << true << true;
        QTest::newRow("hex letters both cases") << QStringLiteral("aFcD09") << false << true;
        QTest::newRow("g is no hex digit") << QStringLiteral("12g") << false << false;
        QTest::newRow("blank inside") << QStringLiteral("1 2") << false << false;
        QTest::newRow("fullwidth digit") << QStringLiteral("１") << false << false;
        QTest::newRow("minus sign") << QStringLiteral("-1") << false << false;
    }
    void digitChecks() {
        QFETCH(QString, text);
        QFETCH(bool, dec);
        QFETCH(bool, hex);
        QCOMPARE(util::CheckDecStr(text), dec);
        QCOMPARE(util::CheckHexStr(text), hex);
    }

    void keyFilter_data() {
        QTest::addColumn<int>("typed");
        QTest::addColumn<bool>("hexFilter");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("hex g refused") << int('g') << true << false;
        QTest::newRow("hex f") << int('f') << true << true;
        QTest::newRow("hex F") << int('F') << true << true;
        QTest::newRow("hex 7") << int('7') << true << true;
        QTest::newRow("hex backspace") << 8 << true << true;
        QTest::newRow("dec a refused") << int('a') << false << false;
        QTest::newRow("dec 5") << int('5') << false << true;
        QTest::newRow("dec backspace") << 8 << false << true;
        QTest::newRow("dec enter refused") << 13 << false << false;
        QTest::newRow("hex space refused") << int(' ') << true << false;
    }
    void keyFilter() {
        QFETCH(int, typed);
        QFETCH(bool, hexFilter);
        QFETCH(bool, accepted);
        const auto verdict = util::FilterTypedChar(
            QChar(typed), hexFilter ? DigitFilter::Hexadecimal : DigitFilter::Decimal);
        QCOMPARE(verdict == KeyVerdict::Accept, accepted);
    }

    void zeroPadDec_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << 2 << QStringLiteral("00");
        QTest::newRow("one digit padded") << 7 << 2 << QStringLiteral("07");
        QTest::newRow("three digits kept") << 255 << 2 << QStringLiteral("255");
        QTest::newRow("exact width") << 12 << 2 << QStringLiteral("12");
        QTest::newRow("negative pads in front of sign") << -5 << 3 << QStringLiteral("0-5");
        QTest::newRow("width zero") << 3 << 0 << QStringLiteral("3");
    }
    void zeroPadDec() {
        QFETCH(int, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        QCOMPARE(util::ZeroPadDec(value, width), text);
    }

    void bytesToHex_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("upper case, no separators")
            << QByteArray::fromHex("001fab") << QStringLiteral("001FAB");
        QTest::newRow("every nibble")
            << QByteArray::fromHex("0123456789abcdefff") << QStringLiteral("0123456789ABCDEFFF");
    }
    void bytesToHex() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(util::BytesToHex(bytes), text);
    }

    void crc16_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("value");
        QTest::newRow("check value") << QByteArray("123456789") << 0x6F91;
        QTest::newRow("empty is the initial register") << QByteArray() << 0xFFFF;
        QTest::newRow("abc") << QByteArray("abc") << 0x61DA;
        QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0x0F87;
    }
    void crc16() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, value);
        QCOMPARE(int(util::Crc16Value(bytes)), value);
        const auto pair = util::Crc16(bytes);
        QCOMPARE(int(pair[0]), value & 0xFF);
        QCOMPARE(int(pair[1]), value >> 8);
    }

    void crcTrailer_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("passes");
        QTest::newRow("abc with its trailer") << QByteArray("abc\xDA\x61", 5) << true;
        QTest::newRow("abc trailer swapped") << QByteArray("abc\x61\xDA", 5) << false;
        QTest::newRow("four bytes never pass") << QByteArray("ab\x00\x00", 4) << false;
        QTest::newRow("empty") << QByteArray() << false;
        QByteArray report = QByteArray::fromHex("1400000123456789abcdef000c0506090807");
        const auto crc = util::Crc16(report);
        report.append(char(crc[0])).append(char(crc[1]));
        QTest::newRow("IF2 report frame") << report << true;
        QByteArray broken = report;
        broken[5] = char(broken[5] ^ 0x01);
        QTest::newRow("one flipped bit") << broken << false;
    }
    void crcTrailer() {
        QFETCH(QByteArray, frame);
        QFETCH(bool, passes);
        QCOMPARE(util::CheckCrcTrailer(frame), passes);
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "test_conversions.moc"
