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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

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

    bool Start(const QString& journalDirectory, const char* scenario = kScenario) {
        if (!PolledConsole::Start(QString::fromUtf8(scenario), QStringLiteral("channel"))) {
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

// The journal's file of the fixture's day made a FIFO that nobody reads yet: the writer blocks
// once the pipe holds 64 KiB, as on a hung mount, until the test drains it.
struct StuckJournalFile {
    QString path;
    int reader = -1;

    bool Make(const QString& folder) {
        path = QDir(folder).filePath(QStringLiteral("2026-05-06.log"));
        if (!QDir().mkpath(folder) || ::mkfifo(QFile::encodeName(path).constData(), 0600) != 0) {
            return false;
        }
        reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        return reader >= 0;
    }
    ~StuckJournalFile() {
        if (reader >= 0) {
            ::close(reader);
        }
    }
    // Reads what the writer sends until `lines` lines came or the time is up.
    QByteArray Drain(int lines, int ms) const {
        QByteArray got;
        char block[65536];
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (got.count('\n') < lines && std::chrono::steady_clock::now() < until) {
            const ssize_t n = ::read(reader, block, sizeof block);
            if (n > 0) {
                got.append(block, n);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        return got;
    }
};

constexpr int kStuckLines = 3000;  // about 270 KiB: several times what the pipe holds

void SendLines(JournalledConsole& c, int count) {
    gui::LineListView& list = *app::LiveLists(*c.form).front().view;
    for (int n = 0; n < count; ++n) {
        list.AppendLine(QStringLiteral("line %1 ").arg(n, 6, 10, QLatin1Char('0')) +
                        QString(40, u'x'));
    }
}

// A console whose journal writer is held up by the FIFO after the lines it was sent.
struct HeldUpJournal {
    QTemporaryDir dir;
    StuckJournalFile fifo;
    JournalledConsole c;

    bool Start() {
        if (!fifo.Make(dir.path()) || !c.Start(dir.path(), "")) {
            return false;
        }
        SendLines(c, kStuckLines);
        return true;
    }
};

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

    // A passage with tag data whose lamp and buzzer command gets no reply: the passage line and
    // both tag-data lines are listed and journalled (the message was acknowledged before the
    // command), and the message is not delivered again.
    void tagLinesKeptWhenTheLampCommandFails() {
        QTemporaryDir dir;
        JournalledConsole c;
        QVERIFY(c.Start(dir.path(),
                        "at 0 fault drop 1 on 0x07\n"
                        "at 0 channel 0 0123456789ABCDEF 31 0c0506090807 0a0b0c0d0e\n"));
        c.click("Button_C_Get");
        QTRY_COMPARE_WITH_TIMEOUT(c.lines("ListBox7").size(), 2, 15000);
        QTest::qWait(300);  // more polls: the message must not come again
        c.click("StopGet");
        QCOMPARE(c.lines("ListBox2").size(), 1);
        QCOMPARE(c.lines("ListBox7").size(), 2);
        const QString path = dir.filePath(QStringLiteral("2026-05-06.log"));
        QTRY_COMPARE_WITH_TIMEOUT(FileLines(path).size(), 3, 5000);
        QCOMPARE(c.simulator.WithModel(
                     [](sim::ControllerModel& m) { return int(m.ChannelQueue().Size()); }),
                 0);
    }

    // Stopping the journal writes what was sent first: the stop waits behind the lines, even
    // those still queued while the writer was held up.
    void stopWritesTheQueuedLinesFirst() {
        HeldUpJournal j;
        QVERIFY(j.Start());
        QByteArray drained;
        std::thread drain([&] { drained = j.fifo.Drain(kStuckLines, 20000); });
        const app::EventJournal::StopOutcome outcome = j.c.journal->Stop(15000);
        drain.join();
        QCOMPARE(drained.count('\n'), kStuckLines);
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.unwritten, 0);
        const QByteArray last =
            "line 00" + QByteArray::number(kStuckLines - 1) + ' ' + QByteArray(40, 'x') + '\n';
        QVERIFY(drained.endsWith(last));
    }

    // A writer stuck for good is left behind after the wait, with the count of lines it did not
    // write; it ends by itself once it can go on.
    void stuckWriterIsLeftBehind() {
        HeldUpJournal j;
        QVERIFY(j.Start());
        const app::EventJournal::StopOutcome outcome = j.c.journal->Stop(300);
        QVERIFY(!outcome.finished);
        QVERIFY2(outcome.unwritten > 0 && outcome.unwritten < kStuckLines,
                 qPrintable(QString::number(outcome.unwritten)));
        // Let it go on, so that it ends before the test does.
        QCOMPARE(j.fifo.Drain(kStuckLines, 20000).count('\n'), kStuckLines);
    }
};

QTEST_MAIN(TestConsoleJournalSim)
#include "test_console_journal_sim.moc"
