#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "forms/secondary_windows.h"
#include "monitor_fixture.h"
#include "util/conversions.h"

namespace {

QByteArray TagReport() {
    QByteArray frame = MessageBytes(
        {20, 0, 0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0, 12, 5, 6, 9, 8, 7});
    const auto crc = util::Crc16(frame);
    frame.append(static_cast<char>(crc[0]));
    frame.append(static_cast<char>(crc[1]));
    return frame;
}

void Tick(QTimer& timer) {
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

}  // namespace

class TestIF2AndTagData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openReadAndClose() {
        MonitorFixture f;
        f.form.SetComPorts(gate::ComPortTable({{3, QStringLiteral("/dev/null")},
                                               {51, QStringLiteral("/dev/null")},
                                               {7, QStringLiteral("/nonexistent/tty")}}));
        f.prompter.portChoices.push_back(3);
        f.Button("Btn_OpenIF2").setEnabled(true);  // the look after window creation
        f.Button("Btn_CloseIF2").setEnabled(false);
        QTest::mouseClick(&f.Button("Btn_OpenIF2"), Qt::LeftButton);
        QCOMPARE(f.prompter.offeredPorts, (QList<QList<int>>{{3}}));
        QCOMPARE(f.library.CallsOf(QStringLiteral("OpenIF2")).front().args, (QVariantList{3}));
        QVERIFY(!f.Button("Btn_OpenIF2").isEnabled());
        QVERIFY(f.Button("Btn_CloseIF2").isEnabled());
        QVERIFY(f.form.Timer2().isActive());
        QCOMPARE(f.Fields().IF2Port, 3);
        QCOMPARE(f.form.StatusBar().Panel(3), QStringLiteral("IF2: COM3"));
        // Panel 2 keeps showing the network link of the controller.
        QCOMPARE(f.form.StatusBar().Panel(2), QStringLiteral("IF1: TCP1030"));

        f.form.Timer2().stop();  // ticks are delivered by hand below
        f.library.Script(
            QStringLiteral("GetIF2Data"), 0,
            QVariantMap{{QStringLiteral("if2"), QByteArray(TagReport() + TagReport())}});
        f.library.Script(QStringLiteral("GetIF2Data"), 0,
                         QVariantMap{{QStringLiteral("if2"), TagReport().first(9)}});
        Tick(f.form.Timer2());
        Tick(f.form.Timer2());
        Tick(f.form.Timer2());  // nothing more to read
        const QString report = QStringLiteral("2012-05-06 09:08:07   01 23 45 67 89 AB CD EF  ");
        QCOMPARE(f.Lines("ListBox1"),
                 (QStringList{report % u"1", report % u"2", QStringLiteral("CRC校验错误")}));
        QCOMPARE(f.Fields().IF2Count, 2);

        f.library.Script(QStringLiteral("CloseIF2"), 1);
        QTest::mouseClick(&f.Button("Btn_CloseIF2"), Qt::LeftButton);
        QCOMPARE(f.Fields().IF2Port, 3);  // a failed close changes nothing
        QVERIFY(f.Button("Btn_CloseIF2").isEnabled());
        QTest::mouseClick(&f.Button("Btn_CloseIF2"), Qt::LeftButton);
        QCOMPARE(f.library.CallsOf(QStringLiteral("CloseIF2")).back().args, (QVariantList{3}));
        QCOMPARE(f.Fields().IF2Port, -1);
        QCOMPARE(f.Fields().IF2Count, 0);
        QVERIFY(f.Button("Btn_OpenIF2").isEnabled());
        QVERIFY(!f.form.Timer2().isActive());
        QCOMPARE(f.form.StatusBar().Panel(3), QStringLiteral("IF2: 通讯关闭"));
        QCOMPARE(f.form.StatusBar().Panel(2), QStringLiteral("IF1: TCP1030"));
    }

    void cancelledOrFailedOpenLeavesIF2Closed_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancel") << true;
        QTest::newRow("open fails") << false;
    }
    void cancelledOrFailedOpenLeavesIF2Closed() {
        QFETCH(bool, cancel);
        MonitorFixture f;
        f.form.SetComPorts(gate::ComPortTable({{2, QStringLiteral("/dev/null")}}));
        if (!cancel) {
            f.prompter.portChoices.push_back(2);
            f.library.Script(QStringLiteral("OpenIF2"), 48);
        }
        QTest::mouseClick(&f.Button("Btn_OpenIF2"), Qt::LeftButton);
        QCOMPARE(f.library.CountOf(QStringLiteral("OpenIF2")), cancel ? 0 : 1);
        QCOMPARE(f.Fields().IF2Port, -1);
        QVERIFY(f.Button("Btn_OpenIF2").isEnabled());
        QVERIFY(!f.form.Timer2().isActive());
        QVERIFY(f.prompter.messages.isEmpty());
        QCOMPARE(f.form.StatusBar().Panel(2), QStringLiteral("IF1: TCP1030"));
    }

    void tagBlocksFillForm3() {
        MonitorFixture f;
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit14"))
            ->setText(QStringLiteral("0123456789ABCDEF"));
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit15"))->setText(QStringLiteral("300"));
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit16"))->setText(QStringLiteral("2"));
        f.form.findChild<QComboBox*>(QStringLiteral("ComboBox5"))->setCurrentIndex(0);
        f.library.Script(
            QStringLiteral("ReadTagData"), 0,
            {{QStringLiteral("data"), MessageBytes({0, 0xA, 0xB, 0xC, 0xD, 1, 1, 2, 3, 4})},
             {QStringLiteral("s"), 1}});
        f.Button("GetTagData").setEnabled(true);
        QTest::mouseClick(&f.Button("GetTagData"), Qt::LeftButton);
        const auto call = f.library.CallsOf(QStringLiteral("ReadTagData")).front();
        QCOMPARE(call.args.mid(1, 4),
                 (QVariantList{MessageBytes({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}), 44,
                               2, 4}));
        auto* table = f.form.Form3().findChild<QTableWidget*>(QStringLiteral("ListView1"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("44"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("00  0A0B0C0D"));
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("45"));
        QVERIFY(f.form.Form3().isVisible());
        QVERIFY(f.form.StatusBar().Panel(0).contains(QStringLiteral("数据交换命令")));

        // A failed read empties the rows and leaves Form3 as it was.
        f.form.Form3().findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(!f.form.Form3().isVisible());
        f.library.Script(QStringLiteral("ReadTagData"), 48);
        QTest::mouseClick(&f.Button("GetTagData"), Qt::LeftButton);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(!f.form.Form3().isVisible());
    }

    void tagReadRefusedBeforeAnyCall() {
        MonitorFixture f;
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit14"))
            ->setText(QStringLiteral("0123456789ABCDE"));
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit15"))->setText(QStringLiteral("1"));
        f.form.findChild<QLineEdit*>(QStringLiteral("Edit16"))->setText(QStringLiteral("2"));
        f.Button("GetTagData").setEnabled(true);
        QTest::mouseClick(&f.Button("GetTagData"), Qt::LeftButton);
        QCOMPARE(f.prompter.messages.size(), 1);
        QCOMPARE(f.prompter.messages.front().text, QStringLiteral("UID数据错误"));
        QCOMPARE(f.prompter.messages.front().caption, QStringLiteral("信息提示"));
        QCOMPARE(f.library.CountOf(QStringLiteral("ReadTagData")), 0);
    }
};

QTEST_MAIN(TestIF2AndTagData)
#include "test_if2_and_tag_data.moc"
