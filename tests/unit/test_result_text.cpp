#include <QTest>

#include "util/result_text.h"

class TestResultText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultLine_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("line");
        const QString caption = QStringLiteral("设置继电器");
        QTest::newRow("success") << 0 << QStringLiteral("09:08:07  设置继电器操作成功");
        QTest::newRow("communication error hides caption")
            << 48 << QStringLiteral("09:08:07   通讯错误");
        QTest::newRow("low six bits 48 (0x70)") << 0x70 << QStringLiteral("09:08:07   通讯错误");
        QTest::newRow("0x41 is code 1: caption alone")
            << 0x41 << QStringLiteral("09:08:07  设置继电器");
        QTest::newRow("255 is code 63: caption alone")
            << 255 << QStringLiteral("09:08:07  设置继电器");
        QTest::newRow("busy with single-byte comma")
            << 51 << QStringLiteral("09:08:07  设置继电器通讯繁忙,设备正在执行其他指令");
        QTest::newRow("crc") << 49 << QStringLiteral("09:08:07  设置继电器CRC校验错误");
        QTest::newRow("forced EAS")
            << 11 << QStringLiteral("09:08:07  设置继电器系统被强制设置在EAS模式");
    }
    void resultLine() {
        QFETCH(int, result);
        QFETCH(QString, line);
        QCOMPARE(
            util::CommandResultLine(QTime(9, 8, 7), QStringLiteral("设置继电器"),
                                    static_cast<std::uint8_t>(result), util::TextTable::Source()),
            line);
    }

    void afternoonUses24Hours() {
        QCOMPARE(util::CommandResultLine(QTime(21, 5, 0), QStringLiteral("x"), 0,
                                         util::TextTable::Source()),
                 QStringLiteral("21:05:00  x操作成功"));
    }

    void codesWithoutText() {
        for (int code : {1, 14, 16, 32, 35, 47, 52, 63}) {
            QVERIFY2(
                util::ResultCodeText(static_cast<std::uint8_t>(code), util::TextTable::Source())
                    .isEmpty(),
                qPrintable(QString::number(code)));
        }
        QCOMPARE(util::ResultCodeText(15, util::TextTable::Source()),
                 QStringLiteral("正在寻找配置信息...."));
        QCOMPARE(util::ResultCodeText(6, util::TextTable::Source()),
                 QStringLiteral("正在进行内部自检及数据初始化...."));
    }

    void replyStatus_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << QStringLiteral("后台记录数据区空闲容量>15%");
        QTest::newRow("1") << 1 << QStringLiteral("后台记录数据区空闲容量<=15%");
        QTest::newRow("2") << 2 << QStringLiteral("后台记录数据区已满并已停止后台记录");
        QTest::newRow("3") << 3 << QStringLiteral("后台记录数据区已满并已开始循环记录");
        QTest::newRow("4 is empty") << 4 << QString();
        QTest::newRow("255 is empty") << 255 << QString();
    }
    void replyStatus() {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(
            util::ReplyStatusText(static_cast<std::uint8_t>(status), util::TextTable::Source()),
            text);
    }

    void replyKind_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("text");
        QTest::newRow("C") << QStringLiteral("C") << QStringLiteral("命令错误");
        QTest::newRow("R") << QStringLiteral("R") << QStringLiteral("设备拒绝执行命令");
        QTest::newRow("D") << QStringLiteral("D") << QStringLiteral("与设备连接不上");
        QTest::newRow("F") << QStringLiteral("F") << QStringLiteral("命令执行失败");
        QTest::newRow("A has no entry") << QStringLiteral("A") << QString();
        QTest::newRow("case-sensitive") << QStringLiteral("c") << QString();
        QTest::newRow("whole text compared") << QStringLiteral("CR") << QString();
    }
    void replyKind() {
        QFETCH(QString, letter);
        QFETCH(QString, text);
        QCOMPARE(util::ReplyKindText(letter, util::TextTable::Source()), text);
    }
};

QTEST_APPLESS_MAIN(TestResultText)
#include "test_result_text.moc"
