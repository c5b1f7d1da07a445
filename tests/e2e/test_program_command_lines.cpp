// The programs' command lines, run as an operator or a script runs them. --help and --version
// answer on standard output and exit 0 (gate-console without a display: its manual page is made
// from them at build time); a refused command line is one line on standard error, exit 2, and
// nothing started (gate-console refuses it without a display too, unless Qt's own options are
// on the line). Rows that would start a simulator if the check failed keep it on loopback.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/console_command_line.h"

namespace {

struct Finished {
    bool inTime = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Finished Run(const QString& program, const QStringList& arguments, bool display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QTemporaryDir runtime;  // keeps Qt's own complaint about a missing one off standard error
    if (display) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    }
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Finished f;
    f.inTime = process.waitForFinished(15000);
    if (!f.inTime) {
        process.kill();
        process.waitForFinished(5000);
    }
    f.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    f.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    f.err = QString::fromLocal8Bit(process.readAllStandardError());
    return f;
}

QString Usage(const QString& program, const QString& why) {
    return QStringLiteral("^%1: %2 \\(see %1 --help\\)\\n$").arg(program, why);
}

}  // namespace

class TestProgramCommandLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
    void consoleComMappings();
};

void TestProgramCommandLines::answers_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // patterns matched against the whole stream
    QTest::addColumn<QString>("err");

    const QString console = QStringLiteral(GATE_CONSOLE_PATH);
    const QString gateSim = QStringLiteral(GATE_SIM_PATH);
    const QString moduleSim = QStringLiteral(MODULE_SIM_PATH);
    const QString none = QStringLiteral("^$");
    const QString version = QStringLiteral(GATE_PROJECT_VERSION);
    const QStringList loopbackModule{QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                     QStringLiteral("--port"), QStringLiteral("0")};
    const QStringList noTcp{QStringLiteral("--no-tcp")};
    auto help = [](const QString& program, const QString& option) {
        return QStringLiteral("^Usage: %1 \\[options\\]\\n.*%2.*\\nExit status:\\n  0 .*\\n  2 ")
            .arg(program, option);
    };

    QTest::newRow("console version without a display")
        << console << QStringList{QStringLiteral("--version")} << false << 0
        << QStringLiteral("^gate-console %1\\n$").arg(QRegularExpression::escape(version)) << none;
    QTest::newRow("console help without a display")
        << console << QStringList{QStringLiteral("--help")} << false << 0
        << help(QStringLiteral("gate-console"), QStringLiteral("--com <N=PATH>")) << none;
    QTest::newRow("console help wins over Qt's and unknown options")
        << console
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                       QStringLiteral("--bogus"), QStringLiteral("-h")}
        << false << 0 << help(QStringLiteral("gate-console"), QStringLiteral("--demo")) << none;
    QTest::newRow("console unknown option")
        << console << QStringList{QStringLiteral("--bogus")} << false << 2 << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("unknown option 'bogus'"));
    QTest::newRow("console refusal after Qt took its own options")
        << console
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                       QStringLiteral("--demo"), QStringLiteral("--bogus")}
        << true << 2 << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("unknown option 'bogus'"));
    QTest::newRow("console COM number out of range")
        << console << QStringList{QStringLiteral("--com"), QStringLiteral("0=/dev/null")} << false
        << 2 << none
        << Usage(QStringLiteral("gate-console"),
                 QStringLiteral("--com wants N=PATH with N from 1 to 255: 0=/dev/null"));
    QTest::newRow("console missing value")
        << console << QStringList{QStringLiteral("--com")} << false << 2 << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("missing value after '--com'"));
    QTest::newRow("console help names the journal")
        << console << QStringList{QStringLiteral("--help")} << false << 0
        << help(QStringLiteral("gate-console"), QStringLiteral("--journal <DIR>")) << none;
    QTest::newRow("console journal without a folder")
        << console << QStringList{QStringLiteral("--journal="), QStringLiteral("--demo")} << false
        << 2 << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("--journal wants a folder"));
    QTest::newRow("console language other than en or zh")
        << console << QStringList{QStringLiteral("--lang"), QStringLiteral("fr")} << false << 2
        << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("--lang wants en or zh: fr"));
    QTest::newRow("console stray argument")
        << console << QStringList{QStringLiteral("demo")} << false << 2 << none
        << Usage(QStringLiteral("gate-console"), QStringLiteral("unexpected argument 'demo'"));

    QTest::newRow("gate-sim version")
        << gateSim << QStringList{QStringLiteral("--version")} << false << 0
        << QStringLiteral("^gate-sim %1\\n$").arg(QRegularExpression::escape(version)) << none;
    QTest::newRow("gate-sim help")
        << gateSim << QStringList{QStringLiteral("-h")} << false << 0
        << help(QStringLiteral("gate-sim"), QStringLiteral("--scenario <FILE>")) << none;
    QTest::newRow("gate-sim unknown option")
        << gateSim << noTcp + QStringList{QStringLiteral("--bogus")} << false << 2 << none
        << Usage(QStringLiteral("gate-sim"), QStringLiteral("unknown option 'bogus'"));
    QTest::newRow("gate-sim bad baud")
        << gateSim << noTcp + QStringList{QStringLiteral("--baud"), QStringLiteral("3")} << false
        << 2 << none
        << Usage(QStringLiteral("gate-sim"),
                 QStringLiteral("--baud wants a rate of 50 to 4000000"));
    QTest::newRow("gate-sim bad setting refused before starting")
        << gateSim << noTcp + QStringList{QStringLiteral("--set"), QStringLiteral("mode=sideways")}
        << false << 2 << none << QStringLiteral("^gate-sim: --set mode=sideways: .+\\n$");
    QTest::newRow("gate-sim missing scenario file")
        << gateSim
        << noTcp + QStringList{QStringLiteral("--scenario"), QStringLiteral("/nonexistent/x")}
        << false << 2 << none << QStringLiteral("^gate-sim: /nonexistent/x: .+\\n$");

    QTest::newRow("module-sim version")
        << moduleSim << QStringList{QStringLiteral("--version")} << false << 0
        << QStringLiteral("^module-sim %1\\n$").arg(QRegularExpression::escape(version)) << none;
    QTest::newRow("module-sim help")
        << moduleSim << QStringList{QStringLiteral("--help")} << false << 0
        << help(QStringLiteral("module-sim"), QStringLiteral("--refuse <letter>")) << none;
    QTest::newRow("module-sim unknown option")
        << moduleSim << loopbackModule + QStringList{QStringLiteral("-x")} << false << 2 << none
        << Usage(QStringLiteral("module-sim"), QStringLiteral("unknown option 'x'"));
    QTest::newRow("module-sim port out of range")
        << moduleSim
        << QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                       QStringLiteral("--port"), QStringLiteral("70000")}
        << false << 2 << none
        << Usage(QStringLiteral("module-sim"), QStringLiteral("--port wants 0 to 65535: 70000"));
    QTest::newRow("module-sim delay not a number")
        << moduleSim << loopbackModule + QStringList{QStringLiteral("--delay-ms=soon")} << false
        << 2 << none
        << Usage(QStringLiteral("module-sim"), QStringLiteral("--delay-ms wants 0 to 60000: soon"));
}

void TestProgramCommandLines::answers() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Finished f = Run(program, arguments, display);
    QVERIFY2(f.inTime, "the program kept running");
    const auto options = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(out, options).match(f.out).hasMatch(), qPrintable(f.out));
    QVERIFY2(QRegularExpression(err, options).match(f.err).hasMatch(), qPrintable(f.err));
    QCOMPARE(f.exitCode, exitCode);
}

// Given mappings are the whole COM table, so the console never looks at the machine's devices.
void TestProgramCommandLines::consoleComMappings() {
    const app::ConsoleOptions options = app::ParseConsoleOptions(
        {QStringLiteral("gate-console"), QStringLiteral("--com"), QStringLiteral("5=/tmp/a"),
         QStringLiteral("--com=9=/tmp/b=c"), QStringLiteral("--demo")});
    QVERIFY(!options.exitCode);
    QVERIFY(options.demo);
    QCOMPARE(options.comPorts.Numbers(), (QList<int>{5, 9}));
    QCOMPARE(options.comPorts.DevicePath(9), QStringLiteral("/tmp/b=c"));
}

QTEST_GUILESS_MAIN(TestProgramCommandLines)
#include "test_program_command_lines.moc"
