// gate-sim: a gate controller in software, on TCP and on pseudo-terminals.

#include "gate_simulator.h"
#include "model_settings.h"
#include "scenario.h"
#include "util/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &c, 1);
}

void Print(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// A file named on the command line that cannot be used: bad input, nothing was started.
int Refuse(const QString& why) {
    std::fprintf(stderr, "gate-sim: %s\n", why.toLocal8Bit().constData());
    return util::kExitUsage;
}

// A failure while starting, after the command line was accepted.
int Fail(const QString& why) {
    std::fprintf(stderr, "gate-sim: %s\n", why.toLocal8Bit().constData());
    return util::kExitFailure;
}

QString LinkOrNone(const QString& value) {
    return value == QLatin1String("-") ? QString() : value;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gate-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a gate controller on the console's wire protocol, over TCP and pseudo-terminals,\n"
        "for demonstrations, training and tests. Prints one line per line it opened, and runs\n"
        "until SIGINT or SIGTERM."));
    const util::ProgramCommandLine commandLine(parser, QStringLiteral("gate-sim"));
    const QCommandLineOption tcp(QStringLiteral("tcp"),
                                 QStringLiteral("Listen on HOST:PORT (default 127.0.0.1:6000)."),
                                 QStringLiteral("HOST:PORT"));
    const QCommandLineOption noTcp(QStringLiteral("no-tcp"), QStringLiteral("No TCP line."));
    const QCommandLineOption pty(
        QStringLiteral("pty"),
        QStringLiteral("Main line on a pseudo-terminal, with a symbolic link at LINK (\"-\": "
                       "no link)."),
        QStringLiteral("LINK"));
    const QCommandLineOption if2Pty(
        QStringLiteral("if2-pty"),
        QStringLiteral("IF2 output on a pseudo-terminal, linked at LINK (\"-\": no link)."),
        QStringLiteral("LINK"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Pace pseudo-terminal output at N baud."),
                                  QStringLiteral("N"), QStringLiteral("115200"));
    const QCommandLineOption scenario(QStringLiteral("scenario"),
                                      QStringLiteral("Play the scenario FILE."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Lifelike traffic."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the demo traffic."), QStringLiteral("N"),
                                  QStringLiteral("1"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Log actions and state changes to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("Initial setting NAME=VALUE (repeatable): %1.")
                                     .arg(sim::SettingNames().join(QStringLiteral(", "))),
                                 QStringLiteral("NAME=VALUE"));
    const QCommandLineOption controllers(
        QStringLiteral("controllers"),
        QStringLiteral("N controllers on each line, an RS-485 bus, at consecutive addresses "
                       "from the first one's (--set address, default 1); 1 to %1.")
            .arg(sim::kMaxControllersPerLine),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption lines(
        QStringLiteral("lines"),
        QStringLiteral("N TCP lines, each with its own controllers, on consecutive ports from "
                       "the --tcp port (each on a free port with port 0); 1 to %1.")
            .arg(sim::kMaxTcpLines),
        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions(
        {tcp, noTcp, pty, if2Pty, baud, scenario, demo, seed, log, set, controllers, lines});
    if (const std::optional<int> exitCode = commandLine.Parse(QCoreApplication::arguments())) {
        return *exitCode;
    }

    sim::SimulatorOptions options;
    options.tcp = !parser.isSet(noTcp);
    if (parser.isSet(tcp)) {
        const QString hostPort = parser.value(tcp);
        const int colon = hostPort.lastIndexOf(QLatin1Char(':'));
        bool ok = colon > 0;
        const int port = ok ? hostPort.mid(colon + 1).toInt(&ok) : 0;
        const QHostAddress host(hostPort.left(colon));
        if (!ok || port < 0 || port > 65535 || host.isNull()) {
            return commandLine.UsageError(
                QStringLiteral("--tcp wants HOST:PORT, for example 127.0.0.1:6000"));
        }
        options.tcpHost = host;
        options.tcpPort = static_cast<quint16>(port);
    }
    if (parser.isSet(pty)) {
        options.pty = true;
        options.ptyLink = LinkOrNone(parser.value(pty));
    }
    if (parser.isSet(if2Pty)) {
        options.if2Pty = true;
        options.if2Link = LinkOrNone(parser.value(if2Pty));
    }
    bool ok = false;
    options.controllersPerLine = parser.value(controllers).toInt(&ok);
    if (!ok || options.controllersPerLine < 1 ||
        options.controllersPerLine > sim::kMaxControllersPerLine) {
        return commandLine.UsageError(
            QStringLiteral("--controllers wants 1 to %1").arg(sim::kMaxControllersPerLine));
    }
    options.tcpLines = parser.value(lines).toInt(&ok);
    if (!ok || options.tcpLines < 1 || options.tcpLines > sim::kMaxTcpLines) {
        return commandLine.UsageError(
            QStringLiteral("--lines wants 1 to %1").arg(sim::kMaxTcpLines));
    }
    if (options.tcpLines > 1 &&
        (parser.isSet(noTcp) ||
         (options.tcpPort != 0 && options.tcpPort + options.tcpLines - 1 > 65535))) {
        return commandLine.UsageError(
            QStringLiteral("--lines wants TCP and a port range that ends by 65535"));
    }
    options.baud = parser.value(baud).toInt(&ok);
    if (!ok || options.baud < 50 || options.baud > 4000000) {
        return commandLine.UsageError(QStringLiteral("--baud wants a rate of 50 to 4000000"));
    }
    if (parser.isSet(scenario)) {
        QString why;
        options.scenario = sim::LoadScenarioFile(parser.value(scenario), &why);
        if (!options.scenario) {
            return Refuse(why);
        }
    }
    if (parser.isSet(demo)) {
        const uint s = parser.value(seed).toUInt(&ok);
        if (!ok) {
            return commandLine.UsageError(QStringLiteral("--seed wants a number"));
        }
        options.demoSeed = s;
    }
    options.logFile = parser.value(log);
    // Settings are tried on a scratch model first, so a bad one is refused as input.
    sim::ControllerModel scratch;
    for (const QString& pair : parser.values(set)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            return commandLine.UsageError(QStringLiteral("--set wants NAME=VALUE"));
        }
        const QString why = sim::ApplySetting(scratch, pair.left(eq), pair.mid(eq + 1));
        if (!why.isEmpty()) {
            return commandLine.UsageError(QStringLiteral("--set %1: %2").arg(pair, why));
        }
        options.settings.emplace_back(pair.left(eq), pair.mid(eq + 1));
    }

    if (::pipe(gSignalPipe) != 0) {
        return Fail(QStringLiteral("pipe failed"));
    }
    QSocketNotifier quitNotifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    sim::GateSimulator simulator;
    QString error;
    if (!simulator.Start(options, &error)) {
        return Fail(error);
    }
    const sim::SimulatorEndpoints ends = simulator.Endpoints();
    // One line per TCP line; with several controllers on a line, their addresses after it.
    for (std::size_t line = 0; options.tcp && line < ends.tcpPorts.size(); ++line) {
        QStringList addresses;
        for (int k = 0; options.controllersPerLine > 1 && k < options.controllersPerLine; ++k) {
            const std::size_t index =
                line * std::size_t(options.controllersPerLine) + std::size_t(k);
            addresses << QStringLiteral("%1").arg(
                simulator.WithModelOf(
                    index, [](sim::ControllerModel& m) { return int(m.State().address); }),
                2, 16, QLatin1Char('0'));
        }
        Print(QStringLiteral("tcp %1:%2%3")
                  .arg(options.tcpHost.toString())
                  .arg(ends.tcpPorts[line])
                  .arg(addresses.isEmpty()
                           ? QString()
                           : QStringLiteral(" addresses ") + addresses.join(u' ').toUpper()));
    }
    if (options.pty) {
        Print(QStringLiteral("pty %1%2")
                  .arg(ends.ptyPath, options.ptyLink.isEmpty()
                                         ? QString()
                                         : QStringLiteral(" link ") + options.ptyLink));
    }
    if (options.if2Pty) {
        Print(QStringLiteral("if2-pty %1%2")
                  .arg(ends.if2PtyPath, options.if2Link.isEmpty()
                                            ? QString()
                                            : QStringLiteral(" link ") + options.if2Link));
    }
    const int rc = app.exec();
    simulator.Stop();
    return rc;
}
