// The console's event journal end to end: gate-sim plays a scenario, the console polls it over
// the real gate library, and the journal holds every line the lists show, in order, stamped and
// captioned; a journal folder that cannot be written is reported once and polling goes on.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/event_journal.h"
#include "app/live_lists.h"
#include "gui/line_list_view.h"
#include "polled_console_fixture.h"

namespace {

// Passages with and without tag data, statistics, time-outs and an alarm, then more passages
// a little later.
const char* const kScenario =
    "at 0 channel 0 0123456789ABCDEF 31 0c0506090807 0a0b0c0d0e\n"
    "at 0 channel 0 0000000000000000 01 0c0506090807\n"
    "at 0 channel 1 0300 0100 0000 0400 0c0506090807\n"
    "at 0 channel 2 1122334455667788 0c0506090807 13 a1b2\n"
    "at 0 channel 3 0c0506090807\n"
    "at 0 channel 4 0c0506090807\n"
    "at 300 channel 0 FFFFFFFFFFFFFFFF 02 0c0506090808\n"
    "at 300 channel 3 0c0506090809\n";

// The console polling the scenario, with the journal that main() makes for --journal DIR.
struct JournalledConsole : monitor_testing::PolledConsole {
    std::unique_ptr<app::EventJournal> journal;

    bool Start(const QString& journalDirectory) {
        if (!PolledConsole::Start(QString::fromUtf8(kScenario), QStringLiteral("channel"))) {
            return false;
        }
        journal = std::make_unique<app::EventJournal>(journalDirectory, clock, prompter,
                                                      console->Reporter());
        journal->AttachTo(*form);
        return true;
    }
    int ListedLines() {
        int n = 0;
        for (const app::LiveList& list : app::LiveLists(*form)) {
            n += list.view->Count();
        }
        return n;
    }
};

QStringList FileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    return lines;
}

}  // namespace

class TestConsoleJournalSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void journalHoldsTheListsLinesInOrder() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("journal"));  // made by the journal
        JournalledConsole c;
        QVERIFY(c.Start(folder));
        c.click("Button_C_Get");
        // 3 + 1 + 2 + 3 + 1 + 1 + 1 + 1 lines in all.
        QTRY_COMPARE_WITH_TIMEOUT(c.ListedLines(), 13, 15000);
        c.click("StopGet");
        const QString path = QDir(folder).filePath(QStringLiteral("2026-05-06.log"));
        QTRY_COMPARE_WITH_TIMEOUT(FileLines(path).size(), 13, 5000);
        const QStringList journal = FileLines(path);

        // Stamp, caption, then the line exactly as its list shows it.
        const QRegularExpression shape(
            QStringLiteral("^2026-05-06 09:08:07\\.000 \\[([^\\]]+)\\] (.*)$"));
        QStringList order;
        for (const QString& line : journal) {
            const auto m = shape.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            order << m.captured(1);
        }
        for (const app::LiveList& list : app::LiveLists(*c.form)) {
            QStringList listed;
            for (int i = 0; i < list.view->Count(); ++i) {
                listed << QStringLiteral("2026-05-06 09:08:07.000 [") +
                              monitor::JournalCaption(list.id, util::TextTable::Source()) +
                              QStringLiteral("] ") + list.view->Line(i);
            }
            QStringList journalled;
            for (const QString& line : journal) {
                if (line.contains(QStringLiteral(" [") +
                                  monitor::JournalCaption(list.id, util::TextTable::Source()) +
                                  QStringLiteral("] "))) {
                    journalled << line;
                }
            }
            QCOMPARE(journalled, listed);
        }
        // Across the lists, in the order the messages came.
        QCOMPARE(order, (QStringList{QStringLiteral("常规响应"), QStringLiteral("标签数据显示"),
                                     QStringLiteral("标签数据显示"), QStringLiteral("常规响应"),
                                     QStringLiteral("统计消息"), QStringLiteral("统计消息"),
                                     QStringLiteral("卡片超时消息"), QStringLiteral("标签数据显示"),
                                     QStringLiteral("标签数据显示"), QStringLiteral("通过超时消息"),
                                     QStringLiteral("红外探测报警消息"), QStringLiteral("常规响应"),
                                     QStringLiteral("通过超时消息")}));
        QVERIFY(c.prompter.notices.isEmpty());
    }

    // A folder that cannot be made (its parent is a file) is told once, without waiting for
    // the operator; the lines keep coming into the lists.
    void unwritableJournalIsReportedOnceAndPollingGoesOn() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plain"));
        QFile plain(file);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        JournalledConsole c;
        QVERIFY(c.Start(QDir(file).filePath(QStringLiteral("journal"))));
        c.click("Button_C_Get");
        QTRY_COMPARE_WITH_TIMEOUT(c.ListedLines(), 13, 15000);
        c.click("StopGet");
        QTRY_VERIFY(c.journal->FailuresReported() >= 1);
        QCOMPARE(c.prompter.notices.size(), 1);
        QCOMPARE(c.prompter.notices[0].caption, QStringLiteral("信息提示"));
        QCOMPARE(c.prompter.notices[0].icon, gui::Prompter::Icon::Warning);
        QVERIFY(c.prompter.notices[0].text.contains(QStringLiteral("plain")));
        QVERIFY(c.prompter.messages.isEmpty());  // nothing that waits for an answer
    }
};

QTEST_MAIN(TestConsoleJournalSim)
#include "test_console_journal_sim.moc"
