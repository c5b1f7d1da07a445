// module-sim: one serial-to-Ethernet module on the UDP text protocol, for tests and demos.
// See docs/module-sim.md.
#include "module_model.h"
#include "module_server.h"
#include "util/command_line.h"
#include "util/gbk_codec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

QSet<QByteArray> Codes(const QString& list) {
    QSet<QByteArray> codes;
    for (const QString& c : list.split(u',', Qt::SkipEmptyParts)) {
        codes.insert(c.trimmed().toUpper().toLatin1());
    }
    return codes;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays one serial-to-Ethernet network module on the UDP configuration protocol, for\n"
        "demonstrations and tests. Prints one line per datagram received and sent, and runs\n"
        "until it is stopped."));
    const util::ProgramCommandLine commandLine(parser, QStringLiteral("module-sim"));
    const QCommandLineOption bind(
        QStringLiteral("bind"),
        QStringLiteral("Local address to listen on (default 0.0.0.0, which also "
                       "receives broadcasts)."),
        QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("UDP port (default 65535; 0: any free port, printed on start)."),
        QStringLiteral("port"), QStringLiteral("65535"));
    const QCommandLineOption mac(
        QStringLiteral("mac"),
        QStringLiteral("MAC address text of the module (default 00-0E-C6-00-00-01)."),
        QStringLiteral("mac"), QStringLiteral("00-0E-C6-00-00-01"));
    const QCommandLineOption ip(
        QStringLiteral("ip"),
        QStringLiteral("Address the module reports (default: the --bind address)."),
        QStringLiteral("address"));
    const QCommandLineOption user(QStringLiteral("user"),
                                  QStringLiteral("User name of the module (default user)."),
                                  QStringLiteral("name"), QStringLiteral("user"));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Device name of the module (default module)."),
                                    QStringLiteral("name"), QStringLiteral("module"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Answer nothing."));
    const QCommandLineOption silentOn(
        QStringLiteral("silent-on"),
        QStringLiteral("Comma-separated parameter codes whose queries get no answer."),
        QStringLiteral("codes"));
    const QCommandLineOption wrongNumber(
        QStringLiteral("wrong-number"),
        QStringLiteral("Comma-separated parameter codes answered with another number."),
        QStringLiteral("codes"));
    const QCommandLineOption refuse(QStringLiteral("refuse"),
                                    QStringLiteral("Answer every command with C, R, D or F."),
                                    QStringLiteral("letter"));
    const QCommandLineOption delay(
        QStringLiteral("delay-ms"),
        QStringLiteral("Answer this many milliseconds later, 0 to 60000 (default 0)."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Append the event log to this file."),
                                 QStringLiteral("file"));
    parser.addOptions(
        {bind, port, mac, ip, user, device, silent, silentOn, wrongNumber, refuse, delay, log});
    if (const std::optional<int> exitCode = commandLine.Parse(QCoreApplication::arguments())) {
        return *exitCode;
    }

    const QHostAddress bindAddress(parser.value(bind));
    if (bindAddress.isNull()) {
        return commandLine.UsageError(QStringLiteral("--bind wants an address: ") +
                                      parser.value(bind));
    }
    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (!portOk || portNumber > 65535) {
        return commandLine.UsageError(QStringLiteral("--port wants 0 to 65535: ") +
                                      parser.value(port));
    }
    bool delayOk = false;
    const int delayMs = parser.value(delay).toInt(&delayOk);
    if (!delayOk || delayMs < 0 || delayMs > 60000) {
        return commandLine.UsageError(QStringLiteral("--delay-ms wants 0 to 60000: ") +
                                      parser.value(delay));
    }
    const QString reported = parser.isSet(ip) ? parser.value(ip) : parser.value(bind);
    modulesim::ModuleSwitches switches;
    switches.silent = parser.isSet(silent);
    switches.silentOn = Codes(parser.value(silentOn));
    switches.wrongNumberOn = Codes(parser.value(wrongNumber));
    const QString letter = parser.value(refuse);
    if (!letter.isEmpty()) {
        if (letter.size() != 1 || !QStringLiteral("CRDF").contains(letter)) {
            return commandLine.UsageError(QStringLiteral("--refuse takes C, R, D or F"));
        }
        switches.refuseWith = letter.at(0).toLatin1();
    }
    switches.delayMs = delayMs;

    modulesim::ModuleModel model(
        modulesim::DefaultModuleSettings(parser.value(mac).toLatin1(), reported.toLatin1(),
                                         util::ToGbk(parser.value(user)),
                                         util::ToGbk(parser.value(device))),
        switches);
    modulesim::ModuleServer server(model);
    if (!server.Listen(bindAddress, static_cast<quint16>(portNumber))) {
        std::fprintf(stderr, "module-sim: cannot bind %s:%s\n", qPrintable(parser.value(bind)),
                     qPrintable(parser.value(port)));
        return util::kExitFailure;
    }

    QFile logFile(parser.value(log));
    QTextStream out(stdout);
    if (parser.isSet(log) && !logFile.open(QIODevice::Append | QIODevice::Text)) {
        std::fprintf(stderr, "module-sim: cannot open log %s\n", qPrintable(parser.value(log)));
        return util::kExitFailure;
    }
    auto write = [&](const QByteArray& line) {
        out << QString::fromLatin1(line) << Qt::endl;
        if (logFile.isOpen()) {
            logFile.write(line + '\n');
            logFile.flush();
        }
    };
    qsizetype appliedSeen = 0;
    int flashesSeen = 0;
    QObject::connect(&server, &modulesim::ModuleServer::Received, &server,
                     [&](const QByteArray& datagram, const QString& sender) {
                         write("recv " + sender.toLatin1() + ' ' + datagram);
                         if (model.FlashCount() != flashesSeen) {
                             flashesSeen = model.FlashCount();
                             write("flash");
                         }
                         for (; appliedSeen < model.Applied().size(); ++appliedSeen) {
                             write("applied " + model.Applied().at(appliedSeen));
                         }
                     });
    QObject::connect(&server, &modulesim::ModuleServer::Answered, &server,
                     [&](const QByteArray& answer) { write("sent " + answer); });
    write("listening " + bindAddress.toString().toLatin1() + ':' +
          QByteArray::number(server.Port()) + " mac " + model.Settings().Mac);
    return QCoreApplication::exec();
}
