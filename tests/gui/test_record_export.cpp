#include "record_console.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <csignal>

using testing_support::RecordingPrompter;

namespace {

const QString kStatus = QStringLiteral("GetBGLogDataStatus");
const QString kByIndex = QStringLiteral("RetrieveRecordByIndex");
const QString kDelete = QStringLiteral("DeleteAllRecord");
const QString kQuestion = QStringLiteral("是否删除所有后台记录");

QByteArray Body(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

QVariantMap LogState(int count, int latestSecond = 0) {
    return {{QStringLiteral("count"), count},
            {QStringLiteral("earliest"), Body({24, 5, 1, 0, 0, 0})},
            {QStringLiteral("latest"), Body({24, 5, 6, 9, 0, latestSecond})},
            {QStringLiteral("s"), 1}};
}

// Every record a passage time-out at 2012-05-06 09:08:07.
void ScriptRecords(RecordConsole& f, int count) {
    f.library.Script(kStatus, 0, LogState(count));
    f.library.SetDefault(
        kByIndex, 0,
        {{QStringLiteral("kind"), 3}, {QStringLiteral("body"), Body({12, 5, 6, 9, 8, 7})}});
}

// Whether each button of the main window is enabled, by object name.
QMap<QString, bool> ButtonStates(RecordConsole& f) {
    QMap<QString, bool> states;
    for (const QAbstractButton* b : f.form.findChildren<QAbstractButton*>()) {
        if (!b->objectName().isEmpty()) {
            states.insert(b->objectName(), b->isEnabled());
        }
    }
    return states;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Records, at each repaint of a status-bar panel during the export, its text and whether the
// export had the command buttons locked.
class PaintWatcher : public QObject {
public:
    PaintWatcher(QLabel* panel, QWidget* lockedButton) : locked_(lockedButton) {
        panel->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            texts.append(static_cast<QLabel*>(watched)->text());
            lockedWhilePainting.append(!locked_->isEnabled());
            if (onPaint) {
                onPaint();
            }
        }
        return false;
    }
    QStringList texts;
    QList<bool> lockedWhilePainting;
    std::function<void()> onPaint;

private:
    QWidget* locked_;
};

}  // namespace

class TestRecordExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportWritesFileLocksAndRestoresButtons();
    void exportLocksTheCommandAndMonitoringButtons();
    void exportShowsProgressByRepaintingOnly();
    void failedStatusQueryReportsAndTouchesNoButton();
    void uncreatableFileShowsPathAndCallsNothing();
    void writeFailureRestoresButtonsAndShowsTheError();
    void saveAndDeleteRules_data();
    void saveAndDeleteRules();
    void saveAndDeleteRefusesWhatTheFileCannotHold_data();
    void saveAndDeleteRefusesWhatTheFileCannotHold();
};

void TestRecordExport::exportWritesFileLocksAndRestoresButtons() {
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    f.Button(QStringLiteral("Button7"))->setEnabled(false);  // must come back disabled
    const QMap<QString, bool> before = ButtonStates(f);
    ScriptRecords(f, 3);
    f.Click("SaveRecordAsTextFile");

    const QString path = QDir(dir.path()).filePath(QStringLiteral("05060908.txt"));
    const QByteArray content = ReadAll(path);
    QCOMPARE(content.count("\r\n"), 3);
    QVERIFY(
        content.startsWith(QByteArray("\xB5\xDA"
                                      "1")));  // "第1" in GBK
    QCOMPARE(f.library.Ops(), (QStringList{kStatus, kByIndex, kByIndex, kByIndex}));
    QCOMPARE(f.bar->Panel(0), QStringLiteral("09:08:42  保存所有后台记录操作成功"));
    QCOMPARE(f.bar->Panel(1), QStringLiteral("已保存到 ") % QDir::toNativeSeparators(path));
    // Every button is as it was before the export, the disabled Button7 included.
    QCOMPARE(ButtonStates(f), before);
    QVERIFY(!f.Button(QStringLiteral("Button7"))->isEnabled());
    QVERIFY(f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
    QVERIFY(f.prompter.messages.isEmpty());
}

// What the export disables while it writes: the 38 buttons of its lock, and its own
// "存储...并删除所有记录"; nothing else of the window.
void TestRecordExport::exportLocksTheCommandAndMonitoringButtons() {
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    for (QAbstractButton* b : f.form.findChildren<QAbstractButton*>()) {
        b->setEnabled(true);
    }
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QStringList disabledWhileWriting;
    PaintWatcher progress(f.bar->PanelLabel(1), f.Button(QStringLiteral("GetBackRecorfStatus")));
    progress.onPaint = [&] {
        if (disabledWhileWriting.isEmpty()) {
            const QMap<QString, bool> states = ButtonStates(f);
            for (auto it = states.begin(); it != states.end(); ++it) {
                if (!it.value()) {
                    disabledWhileWriting.append(it.key());
                }
            }
        }
    };
    ScriptRecords(f, 2);
    f.Click("SaveRecordAsTextFile");

    const char* const lockedAndOwn[] = {"Button_C_Get",
                                        "StopGet",
                                        "Button13",
                                        "Button14",
                                        "Btn_GetControllerInfo",
                                        "Btn_GetControllerParticInfo",
                                        "SetRealy",
                                        "ClockCMD",
                                        "Btn_ClearBuffer",
                                        "ControllerInfo",
                                        "GetBackRecorfStatus",
                                        "Btn_DeleteAllRecord",
                                        "SearchInRecord",
                                        "GetFirstRecord",
                                        "GetFirstRecordAndDel",
                                        "LEDAndBuzTest",
                                        "SaveRecordAsTextFile",
                                        "GetTagData",
                                        "CloseIR",
                                        "OpenIR",
                                        "Btn_GetIRStatus",
                                        "Button5",
                                        "Button6",
                                        "Button1",
                                        "Button2",
                                        "Button3",
                                        "Button4",
                                        "Button7",
                                        "Button8",
                                        "Button9",
                                        "Button10",
                                        "Button16",
                                        "Button17",
                                        "btnSetControAddr",
                                        "btnGetControAddr",
                                        "btnReadBackRecord",
                                        "btnSetBackRecord",
                                        "btnGetReaderStatus",
                                        "SaveAndDeleteAll"};
    QStringList expected;
    for (const char* name : lockedAndOwn) {
        expected.append(QString::fromLatin1(name));
    }
    expected.sort();
    disabledWhileWriting.sort();
    QCOMPARE(disabledWhileWriting, expected);
    QVERIFY(f.Button(QStringLiteral("Button11"))->isEnabled());
}

void TestRecordExport::exportShowsProgressByRepaintingOnly() {
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    PaintWatcher progress(f.bar->PanelLabel(1), f.Button(QStringLiteral("GetBackRecorfStatus")));
    PaintWatcher waiting(f.bar->PanelLabel(0), f.Button(QStringLiteral("SaveAndDeleteAll")));
    ScriptRecords(f, 500);
    f.Click("SaveRecordAsTextFile");

    QVERIFY(waiting.texts.contains(QStringLiteral("正在存储,请稍等...")));
    QVERIFY(progress.texts.size() >= 2);
    QCOMPARE(progress.texts.first(), QStringLiteral("已存储 1/500 条"));
    QCOMPARE(progress.texts.last(), QStringLiteral("已存储 500/500 条"));
    QVERIFY(!progress.lockedWhilePainting.contains(false));
    // The paints happened inside the click: nothing was left for the event loop to do.
    QCOMPARE(f.bar->Panel(0), QStringLiteral("09:08:42  保存所有后台记录操作成功"));
}

void TestRecordExport::failedStatusQueryReportsAndTouchesNoButton() {
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    f.form.show();
    PaintWatcher progress(f.bar->PanelLabel(1), f.Button(QStringLiteral("GetBackRecorfStatus")));
    f.library.Script(kStatus, 48, LogState(10));
    f.Click("SaveRecordAsTextFile");
    QCOMPARE(f.library.Ops(), QStringList{kStatus});
    QCOMPARE(ReadAll(QDir(dir.path()).filePath(QStringLiteral("05060908.txt"))), QByteArray());
    QCOMPARE(f.bar->Panel(0), QStringLiteral("09:08:42   通讯错误"));
    QVERIFY(progress.texts.filter(QStringLiteral("已存储 ")).isEmpty());
    QVERIFY(f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
}

void TestRecordExport::uncreatableFileShowsPathAndCallsNothing() {
    QTemporaryDir dir;
    const QString blocked = QDir(dir.path()).filePath(QStringLiteral("plain-file"));
    QFile block(blocked);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    RecordConsole f({blocked, blocked});
    for (const char* button : {"SaveRecordAsTextFile", "SaveAndDeleteAll"}) {
        f.prompter.messages.clear();
        f.Click(button);
        QVERIFY(f.library.Ops().isEmpty());
        QCOMPARE(f.prompter.messages.size(), 1);  // the error, and no deletion question
        QCOMPARE(f.prompter.messages[0].icon, RecordingPrompter::Icon::Critical);
        QVERIFY(f.prompter.messages[0].text.contains(
            QDir::toNativeSeparators(QDir(blocked).filePath(QStringLiteral("05060908.txt")))));
        QCOMPARE(f.bar->Panel(0), QString());
        QVERIFY(!f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
        f.Button(QStringLiteral("SaveAndDeleteAll"))->setEnabled(true);
    }
    QVERIFY(!f.Button(QStringLiteral("SaveRecordAsTextFile"))->isEnabled());
}

void TestRecordExport::writeFailureRestoresButtonsAndShowsTheError() {
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    ScriptRecords(f, 3000);
    // A file-size limit makes the writes fail the way a full disk does.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &previous) == 0);
    rlimit small = previous;
    small.rlim_cur = 1000;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    f.Click("SaveAndDeleteAll");
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(f.library.CountOf(kByIndex) < 3000);
    QCOMPARE(f.library.CountOf(kDelete), 0);
    QCOMPARE(f.prompter.messages.size(), 1);  // the file error only: no deletion question
    QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("无法写入文件 ")));
    QVERIFY(f.Button(QStringLiteral("GetBackRecorfStatus"))->isEnabled());
    QVERIFY(!f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
    QVERIFY(!f.Button(QStringLiteral("SaveRecordAsTextFile"))->isEnabled());
}

void TestRecordExport::saveAndDeleteRules_data() {
    QTest::addColumn<int>("failedIndex");    // retrieval that fails, 0 for none
    QTest::addColumn<bool>("confirm");       // answer to the deletion question
    QTest::addColumn<int>("recheckResult");  // result of the status query before deleting
    QTest::addColumn<int>("recheckCount");
    QTest::addColumn<int>("recheckLatestSecond");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("deletes");
    QTest::addColumn<QString>("warning");  // part of the warning shown, empty for none

    QTest::newRow("complete export, ok, log unchanged: deletes")
        << 0 << true << 0 << 4 << 0 << true << true << QString();
    QTest::newRow("cancel deletes nothing")
        << 0 << false << 0 << 4 << 0 << true << false << QString();
    QTest::newRow("a failed retrieval: no question, nothing deleted")
        << 2 << true << 0 << 4 << 0 << false << false << QStringLiteral("未能全部存储");
    QTest::newRow("a record arrived meanwhile: nothing deleted")
        << 0 << true << 0 << 5 << 0 << true << false << QStringLiteral("已有变化");
    QTest::newRow("the log moved on at the same count: nothing deleted")
        << 0 << true << 0 << 4 << 9 << true << false << QStringLiteral("已有变化");
    QTest::newRow("the state cannot be confirmed: nothing deleted")
        << 0 << true << 48 << 4 << 0 << true << false << QStringLiteral("无法确认");
}

void TestRecordExport::saveAndDeleteRules() {
    QFETCH(int, failedIndex);
    QFETCH(bool, confirm);
    QFETCH(int, recheckResult);
    QFETCH(int, recheckCount);
    QFETCH(int, recheckLatestSecond);
    QFETCH(bool, asks);
    QFETCH(bool, deletes);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    f.Edit("Edit1")->setText(QStringLiteral("line"));
    ScriptRecords(f, 4);
    const QByteArray body = Body({12, 5, 6, 9, 8, 7});
    for (int i = 1; i <= 4; ++i) {
        f.library.Script(kByIndex, i == failedIndex ? 48 : 0,
                         {{QStringLiteral("kind"), 3}, {QStringLiteral("body"), body}});
    }
    f.library.Script(kStatus, recheckResult, LogState(recheckCount, recheckLatestSecond));
    f.prompter.answers.push_back(confirm ? RecordingPrompter::Answer::Ok
                                         : RecordingPrompter::Answer::Cancel);
    f.Click("SaveAndDeleteAll");

    QStringList texts;
    for (const auto& m : f.prompter.messages) {
        texts.append(m.text);
    }
    QCOMPARE(texts.contains(kQuestion), asks);
    QCOMPARE(f.library.CountOf(kDelete), deletes ? 1 : 0);
    QCOMPARE(f.library.CountOf(kStatus), asks && confirm ? 2 : 1);
    if (warning.isEmpty()) {
        QCOMPARE(texts.size(), asks ? 1 : 0);
    } else {
        QVERIFY2(texts.last().contains(warning), qPrintable(texts.join(u'|')));
        QCOMPARE(f.prompter.messages.last().icon, RecordingPrompter::Icon::Warning);
    }
    if (asks) {
        const auto& q = f.prompter.messages.first();
        QCOMPARE(q.caption, QStringLiteral("提示"));
        QCOMPARE(q.buttons, RecordingPrompter::Buttons::OkCancel);
    }
    if (deletes) {
        QCOMPARE(f.Edit("Edit1")->text(), QString());
        QCOMPARE(f.bar->Panel(0), QStringLiteral("09:08:42  保存并删除所有后台记录操作成功"));
        QCOMPARE(f.bar->Panel(1), QStringLiteral("后台记录数据区空闲容量<=15%"));
    } else {
        QCOMPARE(f.Edit("Edit1")->text(), QStringLiteral("line"));
    }
    // Both export buttons are usable again whatever the outcome.
    QVERIFY(f.Button(QStringLiteral("SaveRecordAsTextFile"))->isEnabled());
    QVERIFY(f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
    // The file keeps every line, the failed one empty.
    const QByteArray content = ReadAll(QDir(dir.path()).filePath(QStringLiteral("05060908.txt")));
    QCOMPARE(content.count("\r\n"), 4);
    QCOMPARE(content.contains("\r\n\r\n") || content.startsWith("\r\n"), failedIndex != 0);
}

// Records the text file has no line for, and a record count no log can have: the deletion is
// not even offered, and the operator is told why.
void TestRecordExport::saveAndDeleteRefusesWhatTheFileCannotHold_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unknownAt");  // index of a kind-5 record, 0 for none
    QTest::addColumn<int>("retrievals");
    QTest::addColumn<QStringList>("says");
    QTest::newRow("a kind-5 record at index 2")
        << 3 << 2 << 3
        << QStringList{QStringLiteral("1 条"), QStringLiteral("第 2 条"),
                       QStringLiteral("gatectl records export --format csv")};
    QTest::newRow("count 2^31, negative when read signed")
        << int(0x80000000) << 0 << 0
        << QStringList{QStringLiteral("2147483648"), QStringLiteral("超出范围")};
    QTest::newRow("count above the limit")
        << 10000001 << 0 << 0 << QStringList{QStringLiteral("10000001 超出范围")};
}

void TestRecordExport::saveAndDeleteRefusesWhatTheFileCannotHold() {
    QFETCH(int, count);
    QFETCH(int, unknownAt);
    QFETCH(int, retrievals);
    QFETCH(QStringList, says);
    QTemporaryDir dir;
    RecordConsole f({dir.path(), {}});
    ScriptRecords(f, count);
    for (int i = 1; unknownAt != 0 && i <= count; ++i) {
        f.library.Script(kByIndex, 0,
                         {{QStringLiteral("kind"), i == unknownAt ? 5 : 3},
                          {QStringLiteral("body"), Body({12, 5, 6, 9, 8, 7})}});
    }
    f.prompter.answers.push_back(RecordingPrompter::Answer::Ok);
    f.Click("SaveAndDeleteAll");

    QCOMPARE(f.library.CountOf(kByIndex), retrievals);
    QCOMPARE(f.library.CountOf(kDelete), 0);
    QCOMPARE(f.prompter.messages.size(), 1);  // the warning, and no deletion question
    const auto& warning = f.prompter.messages.first();
    QCOMPARE(warning.icon, RecordingPrompter::Icon::Warning);
    for (const QString& part : says) {
        QVERIFY2(warning.text.contains(part), qPrintable(warning.text));
    }
    QVERIFY(f.Button(QStringLiteral("SaveAndDeleteAll"))->isEnabled());
    // The file is written all the same: every record's line, the unknown one empty.
    const QByteArray content = ReadAll(QDir(dir.path()).filePath(QStringLiteral("05060908.txt")));
    QCOMPARE(content.count("\r\n"), retrievals);
}

QTEST_MAIN(TestRecordExport)
#include "test_record_export.moc"
