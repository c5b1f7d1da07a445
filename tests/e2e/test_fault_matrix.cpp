// Line faults end to end: the real console over the real gate library against gate-sim, over
// TCP and over a pseudo-terminal. Each fault shows its code in the status bar, no call hangs,
// the line recovers (a lost link is reopened by the next call), and an export broken by a fault
// never leads to the deletion of a record the file does not hold.
#include "fault_console_fixture.h"
#include "util/result_text.h"

using fault_testing::FaultConsole;
using fault_testing::Line;
using Kind = sim::Fault::Kind;

Q_DECLARE_METATYPE(fault_testing::Line)
Q_DECLARE_METATYPE(sim::Fault::Kind)

namespace {

// A call waits at most 600 ms for its reply plus 300 ms for its write; this is far above both:
// it catches a hang, not a slow call.
constexpr qint64 kNoHangMs = 3000;
const QString kInfoCaption = QStringLiteral("获取控制器基本信息");

void AddFaultRows(Kind disconnectMeaning) {
    struct Row {
        const char* name;
        Kind kind;
        int delayMs;
        int result;
    };
    const Row rows[] = {
        {"drop", Kind::Drop, 0, 48},
        {"corrupt crc", Kind::CorruptCrc, 0, 49},
        {"truncate", Kind::Truncate, 0, 48},
        {"garbage before the reply", Kind::Garbage, 0, 0},
        {"delay past the timeout", Kind::Delay, 1500, 48},
        {"busy", Kind::Busy, 0, 51},
    };
    for (const Line line : {Line::Tcp, Line::Pty}) {
        const char* prefix = line == Line::Tcp ? "tcp: " : "pty: ";
        for (const Row& r : rows) {
            QTest::newRow(QByteArray(QByteArray(prefix) + r.name).constData())
                << line << r.kind << r.delayMs << r.result << false;
        }
        QTest::newRow(line == Line::Tcp ? "tcp: disconnect in the middle of a call"
                                        : "pty: serial hang-up")
            << line << disconnectMeaning << 0 << 48 << true;
    }
}

}  // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void faultShowsItsCodeAndTheLineRecovers_data() {
        QTest::addColumn<Line>("line");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("linkLost");
        AddFaultRows(Kind::Disconnect);
    }

    void faultShowsItsCodeAndTheLineRecovers() {
        QFETCH(Line, line);
        QFETCH(Kind, kind);
        QFETCH(int, delayMs);
        QFETCH(int, result);
        QFETCH(bool, linkLost);
        FaultConsole c;
        QVERIFY(c.Start());
        QVERIFY(c.Open(line));
        c.click("Btn_GetControllerInfo");
        QCOMPARE(c.lastResult(), 0);

        c.simulator.AddFault(sim::Fault{kind, delayMs, 0});
        const qint64 faultMs = c.timedClick("Btn_GetControllerInfo");
        QVERIFY2(faultMs < kNoHangMs, qPrintable(QString::number(faultMs)));
        QCOMPARE(c.lastResult(), result);
        QCOMPARE(c.panel(0), util::CommandResultLine(c.clock.now().time(), kInfoCaption,
                                                     static_cast<std::uint8_t>(result),
                                                     util::TextTable::Source()));
        QCOMPARE(c.w<QLineEdit>("Edit17")->text().isEmpty(), result != 0);

        if (!linkLost) {
            // Clean calls for longer than the delayed reply takes to come: each gets its own
            // answer, the late one is never taken for a later request's.
            QElapsedTimer window;
            window.start();
            for (int i = 0; i < 50 && window.elapsed() < 2000; ++i) {
                QCOMPARE(c.timedClick("Btn_GetControllerInfo") < kNoHangMs, true);
                QCOMPARE(c.lastResult(), 0);
                QCOMPARE(c.w<QLineEdit>("Edit17")->text(), QStringLiteral("31"));
                QTest::qWait(20);
            }
            QVERIFY(c.prompter.messages.isEmpty());
            return;
        }

        // The link went down with the call; the next call brings it back by itself (the TCP
        // line on the same port, the pseudo-terminal under its link) without a box, and the
        // status bar says so.
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 重连中…"));
        const qint64 backMs = c.timedClick("Btn_GetControllerInfo");
        QVERIFY2(backMs < kNoHangMs, qPrintable(QString::number(backMs)));
        QCOMPARE(c.lastResult(), 0);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 已恢复"));
        QVERIFY(c.prompter.messages.isEmpty());

        // The operator reopens the line and works on.
        c.Close(line);
        QVERIFY(c.Open(line));
        c.click("Btn_GetControllerInfo");
        QCOMPARE(c.lastResult(), 0);
        QCOMPARE(c.w<QLineEdit>("Edit17")->text(), QStringLiteral("31"));
    }

    // An export of 20 records with a fault at one of its calls: the status query (reply 0),
    // a retrieval (1 to 20), the re-check before the deletion (21) or the deletion (22). The
    // deletion happens only when the file holds every record, and never takes a record the
    // file does not hold.
    void faultDuringExportAndDeleteLosesNoRecord_data() {
        QTest::addColumn<Line>("line");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("cleanReplies");
        QTest::addColumn<QString>("notice");
        const QString incomplete =
            QStringLiteral("后台记录未能全部存储到文件,没有删除任何后台记录");
        const QString unconfirmed = QStringLiteral("无法确认后台记录状态,没有删除任何后台记录");
        const QString none;
        for (const Line line : {Line::Tcp, Line::Pty}) {
            const QByteArray p = line == Line::Tcp ? "tcp: " : "pty: ";
            QTest::newRow(QByteArray(p + "disconnect at the status query").constData())
                << line << Kind::Disconnect << 0 << incomplete;
            QTest::newRow(QByteArray(p + "disconnect in the middle of the export").constData())
                << line << Kind::Disconnect << 9 << incomplete;
            QTest::newRow(QByteArray(p + "disconnect at the last record").constData())
                << line << Kind::Disconnect << 20 << incomplete;
            QTest::newRow(QByteArray(p + "disconnect at the re-check").constData())
                << line << Kind::Disconnect << 21 << unconfirmed;
            QTest::newRow(QByteArray(p + "disconnect at the deletion").constData())
                << line << Kind::Disconnect << 22 << none;
        }
        QTest::newRow("tcp: drop in the middle") << Line::Tcp << Kind::Drop << 7 << incomplete;
        QTest::newRow("tcp: corrupt crc in the middle")
            << Line::Tcp << Kind::CorruptCrc << 7 << incomplete;
        QTest::newRow("tcp: truncate in the middle")
            << Line::Tcp << Kind::Truncate << 7 << incomplete;
        QTest::newRow("tcp: busy in the middle") << Line::Tcp << Kind::Busy << 7 << incomplete;
        QTest::newRow("tcp: delay in the middle") << Line::Tcp << Kind::Delay << 7 << incomplete;
        QTest::newRow("tcp: garbage in the middle") << Line::Tcp << Kind::Garbage << 7 << none;
        QTest::newRow("pty: busy at the re-check") << Line::Pty << Kind::Busy << 21 << unconfirmed;
    }

    void faultDuringExportAndDeleteLosesNoRecord() {
        QFETCH(Line, line);
        QFETCH(Kind, kind);
        QFETCH(int, cleanReplies);
        QFETCH(QString, notice);
        constexpr int kRecords = 20;
        FaultConsole c;
        QVERIFY(c.Start());
        QVERIFY(c.Open(line));
        std::vector<sim::StoredRecord> before;
        c.simulator.WithModel([&](sim::ControllerModel& m) {
            for (int i = 0; i < kRecords; ++i) {
                m.Records().Append(8, fault_testing::TestRecordBody(i), sim::FullPolicy::Stop);
            }
            for (int i = 1; i <= kRecords; ++i) {
                before.push_back(*m.Records().At(i));
            }
            return 0;
        });

        c.simulator.AddFaultAfter(cleanReplies, sim::Fault{kind, 1500, 0});
        QElapsedTimer t;
        t.start();
        c.exporter->SaveAndDeleteAllClick();
        // 22 calls, at most one of them waiting out its timeout.
        QVERIFY2(t.elapsed() < 22 * 100 + kNoHangMs, qPrintable(QString::number(t.elapsed())));

        const QStringList files = QDir(c.ExportDir()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const QList<QByteArray> lines =
            fault_testing::FileLines(QDir(c.ExportDir()).filePath(files[0]));
        const int remaining = c.SimRecordCount();
        QVERIFY(remaining == 0 || remaining == kRecords);
        if (remaining == 0) {
            // Deleted: the file holds every record, line for line.
            QCOMPARE(lines.size(), kRecords);
            for (int i = 0; i < kRecords; ++i) {
                QCOMPARE(lines[i], fault_testing::ExpectedLine(i + 1, before[i]));
            }
        }
        const bool askedToDelete = std::any_of(
            c.prompter.messages.begin(), c.prompter.messages.end(),
            [](const auto& m) { return m.text == QStringLiteral("是否删除所有后台记录"); });
        if (notice.isEmpty()) {
            QVERIFY(askedToDelete);
        } else {
            QVERIFY(!c.prompter.messages.isEmpty());
            QCOMPARE(c.prompter.messages.back().text, notice);
            QCOMPARE(remaining, kRecords);
        }
        if (kind == Kind::Disconnect && cleanReplies == 22) {
            // The deletion request was lost with the line: the console says so.
            QCOMPARE(c.lastResult(), 48);
            QCOMPARE(remaining, kRecords);
        }
        if (kind == Kind::Garbage) {
            QCOMPARE(remaining, 0);
        }
    }
};

QTEST_MAIN(TestFaultMatrix)
#include "test_fault_matrix.moc"
