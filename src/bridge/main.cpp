// gate-bridge: every gate of a site polled unattended, its live events delivered to an MQTT
// broker through a local spool (docs/gate-bridge.md).
#include "bridge/bridge_service.h"
#include "bridge/site_config.h"
#include "util/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <systemd/sd-daemon.h>

#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

const QString kProgram = QStringLiteral("gate-bridge");
const QString kDefaultConfig = QStringLiteral("/etc/gate-bridge/site.toml");
// A worker or the publisher that has not gone round its loop for this long is stuck. Every
// library call ends within its time-out (a few seconds), and both loops turn at least every
// 200 ms otherwise.
constexpr qint64 kStallMs = 15000;

void Line(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(kProgram), text.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    // SIGTERM and SIGINT are taken by the main thread alone (sigtimedwait below): every thread
    // started from here on inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);  // read the site file again
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Polls every gate of a site, as the site file lists them, and delivers their live "
        "events to an MQTT broker: each event is stored in a local spool before its controller "
        "is acknowledged and leaves the spool only when the broker confirmed it. Runs until "
        "SIGTERM or SIGINT; SIGHUP reads the site file again. A site file that cannot be read or "
        "has an error ends it at once "
        "with exit status 2 and one line naming the file, the line and the key."));
    util::ProgramCommandLine standard(parser, kProgram);
    const QCommandLineOption config(
        {QStringLiteral("c"), QStringLiteral("config")},
        QStringLiteral("The site file (default %1).").arg(kDefaultConfig), QStringLiteral("FILE"),
        kDefaultConfig);
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Check the site file and exit: 0 when it is "
                                                  "good, 2 with the first error."));
    parser.addOption(config);
    parser.addOption(check);
    if (const auto code = standard.Parse(QCoreApplication::arguments())) {
        return *code;
    }
    const auto read = bridge::ReadSiteFile(parser.value(config));
    if (const auto* error = std::get_if<bridge::SiteError>(&read)) {
        Line(error->Text());
        return util::kExitUsage;
    }
    const bridge::SiteConfig& site = std::get<bridge::SiteConfig>(read);
    if (parser.isSet(check)) {
        std::printf("%s: good: site %s, %lld gate(s), broker %s:%d, base %s\n",
                    qPrintable(site.file), qPrintable(site.siteName),
                    static_cast<long long>(site.gates.size()), qPrintable(site.mqttHost),
                    site.mqttPort, qPrintable(site.base));
        return util::kExitOk;
    }

    bridge::BridgeService service(site);
    QString error;
    if (!service.Start(&error)) {
        Line(error);
        return util::kExitFailure;
    }
    sd_notify(0, "READY=1");
    std::uint64_t watchdogUs = 0;
    const bool watchdog = sd_watchdog_enabled(0, &watchdogUs) > 0;
    // Wakes at least once a second: the periodic work, and the watchdog at half its period.
    const long stepMs =
        watchdog ? std::max<long>(1, std::min<long>(1000, long(watchdogUs / 2000))) : 1000;
    int caught = 0;
    bool wasMoving = true;
    while (caught == 0) {
        const timespec step{stepMs / 1000, (stepMs % 1000) * 1000000L};
        const int s = sigtimedwait(&stopSignals, nullptr, &step);
        if (s == SIGTERM || s == SIGINT) {
            caught = s;
            break;
        }
        if (s == SIGHUP) {
            // A file with an error changes nothing: the running configuration stays.
            const auto again = bridge::ReadSiteFile(parser.value(config));
            if (const auto* e = std::get_if<bridge::SiteError>(&again)) {
                service.Log(QStringLiteral("reload refused, the running configuration stays: ") +
                            e->Text());
            } else {
                service.Reload(std::get<bridge::SiteConfig>(again));
            }
        }
        service.Tick();
        // Fed only while every worker and the publisher move: a hung one ends in a restart.
        QString stalled;
        const bool moving = service.Progressing(kStallMs, &stalled);
        if (moving != wasMoving) {
            service.Log(moving ? QStringLiteral("every worker moves again")
                               : QStringLiteral("%1 has not moved for %2 s; the watchdog is no "
                                                "longer fed")
                                     .arg(stalled)
                                     .arg(kStallMs / 1000));
            wasMoving = moving;
        }
        if (watchdog && moving) {
            sd_notify(0, "WATCHDOG=1");
        }
    }
    sd_notify(0, "STOPPING=1");
    service.Log(QStringLiteral("%1: stopping")
                    .arg(caught == SIGTERM ? QStringLiteral("SIGTERM") : QStringLiteral("SIGINT")));
    service.Stop();
    return util::kExitOk;
}
