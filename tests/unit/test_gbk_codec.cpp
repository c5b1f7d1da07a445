#include <QTest>

#include "util/gbk_codec.h"

class TestGbkCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("gbk");
        QTest::newRow("ascii") << QStringLiteral("COM3 abc") << QByteArray("COM3 abc");
        QTest::newRow("chinese") << QStringLiteral("正向") << QByteArray("\xD5\xFD\xCF\xF2");
        QTest::newRow("mixed") << QStringLiteral("第7条记录")
                               << QByteArray(
                                      "\xB5\xDA"
                                      "7"
                                      "\xCC\xF5\xBC\xC7\xC2\xBC");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, gbk);
        QCOMPARE(util::ToGbk(text), gbk);
        QCOMPARE(util::FromGbk(gbk), text);
    }

    // A broken byte costs one replacement character and nothing after it.
    void brokenInputKeepsWhatFollows_data() {
        QTest::addColumn<QByteArray>("gbk");
        QTest::addColumn<QString>("text");
        const QString bad(QChar::ReplacementCharacter);
        QTest::newRow("lead byte cut off at the end")
            << QByteArray("ab\xD5", 3) << QStringLiteral("ab") + bad;
        QTest::newRow("lead byte before a blank")
            << QByteArray("\xD5 next") << bad + QStringLiteral(" next");
        QTest::newRow("lead byte before a control byte")
            << QByteArray("\xD5\x0Axy") << bad + QStringLiteral("\nxy");
        QTest::newRow("lone 0xFF then chinese")
            << QByteArray("\xFF\xD5\xFD\xCF\xF2") << bad + QStringLiteral("正向");
        QTest::newRow("lead byte before 0x7F") << QByteArray(
                                                      "\x81\x7F"
                                                      "ok")
                                               << bad + QStringLiteral("\x7Fok");
        QTest::newRow("embedded zero byte")
            << QByteArray("a\0b", 3)
            << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    }
    void brokenInputKeepsWhatFollows() {
        QFETCH(QByteArray, gbk);
        QFETCH(QString, text);
        QCOMPARE(util::FromGbk(gbk), text);
    }

    // Every byte pair decodes without crashing, and a following text survives (a blank can never
    // be the trail byte of a character, so it always starts afresh).
    void everyPairDecodes() {
        for (int lead = 0x80; lead <= 0xFF; ++lead) {
            for (int trail = 0; trail <= 0xFF; ++trail) {
                QByteArray bytes;
                bytes.append(char(lead)).append(char(trail)).append(" tail");
                const QString text = util::FromGbk(bytes);
                QVERIFY2(text.endsWith(QStringLiteral(" tail")),
                         qPrintable(QStringLiteral("%1 %2").arg(lead).arg(trail)));
            }
        }
    }

    void unencodableBecomesQuestionMark() {
        const QByteArray out = util::ToGbk(QStringLiteral("a\U0001F600b"));
        QVERIFY(out.startsWith('a'));
        QVERIFY(out.endsWith('b'));
        QVERIFY(out.contains('?'));
    }
};

QTEST_APPLESS_MAIN(TestGbkCodec)
#include "test_gbk_codec.moc"
