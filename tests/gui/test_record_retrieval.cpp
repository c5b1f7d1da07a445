#include "record_console.h"

#include <QTest>

using testing_support::RecordingPrompter;

namespace {

const QString kEarliest = QStringLiteral("RetrieveEarliestRecord");
const QString kByIndex = QStringLiteral("RetrieveRecordByIndex");
const QString kAck = QStringLiteral("Acknowledge");

QByteArray Body(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

// A body that is valid for every kind: a passage with a real UID, forward, at 2012-05-06 09:08:07.
const QByteArray kPassage =
    Body({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 1, 12, 5, 6, 9, 8, 7});

}  // namespace

class TestRecordRetrieval : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusQueryFillsTheThreeFields_data();
    void statusQueryFillsTheThreeFields();
    void earliestRecordDeletionRules_data();
    void earliestRecordDeletionRules();
    void recordByIndexInputChecks_data();
    void recordByIndexInputChecks();
    void recordByIndexShowsItsLineAndNeverDeletes();
    void deleteAllAsksFirst_data();
    void deleteAllAsksFirst();
};

void TestRecordRetrieval::statusQueryFillsTheThreeFields_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("earliest");
    QTest::addColumn<QString>("panel0");
    QTest::addColumn<QString>("panel1");
    QTest::newRow("records present") << 0 << 1234 << QStringLiteral("2012-05-06 09:08:07 ")
                                     << QStringLiteral("09:08:42  查询后台记录状态操作成功")
                                     << QStringLiteral("后台记录数据区空闲容量>15%");
    QTest::newRow("empty log leaves the times empty")
        << 0 << 0 << QString() << QStringLiteral("09:08:42  查询后台记录状态操作成功")
        << QStringLiteral("后台记录数据区空闲容量>15%");
    QTest::newRow("failed call still shows the count it left")
        << 48 << 7 << QStringLiteral("2012-05-06 09:08:07 ")
        << QStringLiteral("09:08:42   通讯错误") << QString();
}

void TestRecordRetrieval::statusQueryFillsTheThreeFields() {
    QFETCH(int, result);
    QFETCH(int, count);
    QFETCH(QString, earliest);
    QFETCH(QString, panel0);
    QFETCH(QString, panel1);
    RecordConsole f;
    f.Edit("Edit21")->setText(QStringLiteral("old"));
    f.library.Script(QStringLiteral("GetBGLogDataStatus"), result,
                     {{QStringLiteral("count"), count},
                      {QStringLiteral("earliest"), Body({12, 5, 6, 9, 8, 7})},
                      {QStringLiteral("latest"), Body({24, 12, 31, 23, 59, 0})},
                      {QStringLiteral("s"), 0}});
    f.Click("GetBackRecorfStatus");
    QCOMPARE(f.Edit("Edit20")->text(), QString::number(count));
    QCOMPARE(f.Edit("Edit21")->text(), earliest);
    QCOMPARE(f.Edit("Edit22")->text(),
             earliest.isEmpty() ? QString() : QStringLiteral("2024-12-31 23:59:00 "));
    QCOMPARE(f.bar->Panel(0), panel0);
    QCOMPARE(f.bar->Panel(1), panel1);
    QCOMPARE(f.library.CallsOf(QStringLiteral("GetBGLogDataStatus")).at(0).args,
             (QVariantList{1, 4001}));
}

void TestRecordRetrieval::earliestRecordDeletionRules_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("kindByte");
    QTest::addColumn<bool>("emptyBody");
    QTest::addColumn<bool>("deletes");
    QTest::addColumn<bool>("shows");
    const QString show = QStringLiteral("GetFirstRecord");
    const QString del = QStringLiteral("GetFirstRecordAndDel");
    QTest::newRow("show only never deletes") << show << 0 << 0 << false << false << true;
    for (int k = 0; k <= 4; ++k) {
        QTest::addRow("delete button, kind %d", k) << del << 0 << k << false << true << true;
    }
    QTest::newRow("delete button, clock set is deleted too")
        << del << 0 << 8 << false << true << true;
    QTest::newRow("kind 5 is neither shown nor deleted")
        << del << 0 << 5 << false << false << false;
    QTest::newRow("failed retrieval deletes nothing") << del << 48 << 0 << false << false << false;
    QTest::newRow("record of length 0 deletes nothing") << del << 0 << 0 << true << false << false;
}

void TestRecordRetrieval::earliestRecordDeletionRules() {
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(int, kindByte);
    QFETCH(bool, emptyBody);
    QFETCH(bool, deletes);
    QFETCH(bool, shows);
    RecordConsole f;
    f.Edit("Edit1")->setText(QStringLiteral("previous line"));
    f.library.Script(kEarliest, result,
                     {{QStringLiteral("kind"), kindByte},
                      {QStringLiteral("body"), emptyBody ? QByteArray() : kPassage}});
    f.Button(button)->click();
    QCOMPARE(f.library.CountOf(kAck), deletes ? 1 : 0);
    QCOMPARE(f.Edit("Edit1")->text().startsWith(QStringLiteral("第1条记录    ")), shows);
    if (!shows) {
        QVERIFY(f.Edit("Edit1")->text().isEmpty());
    }
    QVERIFY(f.bar->Panel(0).contains(result == 48 ? QStringLiteral("通讯错误")
                                                  : QStringLiteral("提取最早时刻记录")));
    QCOMPARE(f.library.CountOf(kByIndex), 0);
}

void TestRecordRetrieval::recordByIndexInputChecks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("conversionError");
    QTest::newRow("empty") << QString() << QStringLiteral("请输入的记录序号") << false;
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("输入的记录序号必须大于0")
                          << false;
    QTest::newRow("too large for 32 bits")
        << QStringLiteral("4294967297") << QStringLiteral("输入的记录序号必须大于0") << false;
    QTest::newRow("pasted non-digits") << QStringLiteral("12x") << QString() << true;
}

void TestRecordRetrieval::recordByIndexInputChecks() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, conversionError);
    RecordConsole f;
    f.Edit("Edit31")->setText(text);
    f.Edit("Edit1")->setText(QStringLiteral("kept"));
    f.Click("SearchInRecord");
    QVERIFY(f.library.Ops().isEmpty());
    QCOMPARE(f.Edit("Edit1")->text(), QStringLiteral("kept"));
    if (conversionError) {
        QCOMPARE(f.prompter.conversionErrors, QStringList{text});
        QVERIFY(f.prompter.messages.isEmpty());
    } else {
        QCOMPARE(f.prompter.messages.size(), 1);
        QCOMPARE(f.prompter.messages[0].text, message);
        QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("信息提示"));
        QCOMPARE(f.prompter.messages[0].icon, RecordingPrompter::Icon::Information);
    }
}

void TestRecordRetrieval::recordByIndexShowsItsLineAndNeverDeletes() {
    RecordConsole f;
    f.Edit("Edit31")->setText(QStringLiteral("3"));
    f.library.Script(kByIndex, 0,
                     {{QStringLiteral("kind"), 0}, {QStringLiteral("body"), kPassage}});
    f.Click("SearchInRecord");
    QCOMPARE(f.Edit("Edit1")->text(),
             QStringLiteral("第3条记录    2012-05-06 09:08:07 01 23 45 67 89 AB CD EF 正向"));
    QCOMPARE(f.library.Ops(), QStringList{kByIndex});
    QCOMPARE(f.library.Calls().at(0).args, (QVariantList{1, 3, 17, 4001}));
    QCOMPARE(f.bar->Panel(0), QStringLiteral("09:08:42  提取指定序号记录操作成功"));

    // Enter in Edit31 does what the button does.
    f.Edit("Edit31")->setText(QStringLiteral("4"));
    f.library.Script(
        kByIndex, 0,
        {{QStringLiteral("kind"), 3}, {QStringLiteral("body"), Body({12, 5, 6, 9, 8, 7})}});
    QTest::keyClick(f.Edit("Edit31"), Qt::Key_Return);
    QCOMPARE(f.library.CallsOf(kByIndex).size(), 2);
    QCOMPARE(f.Edit("Edit1")->text(), QStringLiteral("第4条记录    2012-05-06 09:08:07  通过超时"));

    // A failed retrieval shows no line.
    f.library.Script(kByIndex, 7,
                     {{QStringLiteral("kind"), 0}, {QStringLiteral("body"), kPassage}});
    f.Click("SearchInRecord");
    QCOMPARE(f.Edit("Edit1")->text(), QString());
    QVERIFY(f.bar->Panel(0).startsWith(QStringLiteral("09:08:42  提取指定序号记录")));
    QVERIFY(!f.bar->Panel(0).endsWith(QStringLiteral("操作成功")));
}

void TestRecordRetrieval::deleteAllAsksFirst_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cancel sends nothing") << false << 0 << QString();
    QTest::newRow("ok deletes and empties the line")
        << true << 0 << QStringLiteral("09:08:42  删除所有后台记录操作成功");
    // The reply was lost: the records may be gone all the same, and the line must not read
    // as if nothing happened.
    QTest::newRow("no reply: may have run")
        << true << 48 << QStringLiteral("09:08:42  删除所有后台记录通讯错误，可能已执行");
    QTest::newRow("refused: the controller's text")
        << true << 8 << QStringLiteral("09:08:42  删除所有后台记录无效的命令");
}

void TestRecordRetrieval::deleteAllAsksFirst() {
    QFETCH(bool, confirm);
    QFETCH(int, result);
    QFETCH(QString, shown);
    RecordConsole f;
    f.library.Script(QStringLiteral("DeleteAllRecord"), result);
    f.Edit("Edit1")->setText(QStringLiteral("line"));
    f.prompter.answers.push_back(confirm ? RecordingPrompter::Answer::Ok
                                         : RecordingPrompter::Answer::Cancel);
    f.Click("Btn_DeleteAllRecord");
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages[0].text, QStringLiteral("是否删除所有后台记录"));
    QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("提示"));
    QCOMPARE(f.prompter.messages[0].buttons, RecordingPrompter::Buttons::OkCancel);
    if (confirm) {
        QCOMPARE(f.library.Ops(), QStringList{QStringLiteral("DeleteAllRecord")});
        QCOMPARE(f.Edit("Edit1")->text(), QString());
        QCOMPARE(f.bar->Panel(0), shown);
    } else {
        QVERIFY(f.library.Ops().isEmpty());
        QCOMPARE(f.Edit("Edit1")->text(), QStringLiteral("line"));
    }
}

QTEST_MAIN(TestRecordRetrieval)
#include "test_record_retrieval.moc"
