// Soak of the two monitoring polls: the real console window (offscreen) over the real gate
// library against gate-sim demo traffic, Timer1 (channel) and Timer3 (EAS) both running at
// their 50 ms tick. The first half of the run the controller is in channel-management mode, the
// second half in EAS mode. Every 30 s it prints the resident memory and the lines held by all
// message lists; at the end the growth per line.
//
//   soak_polls [MINUTES] [SAMPLE_SECONDS]     (defaults 10 and 30)
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/console.h"
#include "app/main_window.h"
#include "gate/com_port_table.h"
#include "gate/gate_library_factory.h"
#include "gate_simulator.h"
#include "gui/message_list.h"
#include "gui/prompter.h"
#include "gui/status_bar.h"
#include "model_settings.h"
#include "util/clock.h"

namespace {

// Answers every question with OK and counts what would have been shown.
class CountingPrompter final : public gui::Prompter {
public:
    Answer Message(const QString&, const QString&, Icon, Buttons) override {
        ++messages;
        return Answer::Ok;
    }
    void Beep() override {}
    void ConversionError(const QString&) override { ++messages; }
    void SetBusy(bool) override {}
    std::optional<int> ChoosePort(const QList<int>&) override { return std::nullopt; }
    void Notice(const QString&, const QString&, Icon) override { ++messages; }
    std::optional<QString> ChooseSaveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    int messages = 0;
};

long VmRssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

qint64 TotalListLines(const app::TForm1& form) {
    qint64 total = 0;
    for (const gui::MessageList* list : form.findChildren<gui::MessageList*>()) {
        total += list->Count();
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const double minutes = args.size() > 1 ? args[1].toDouble() : 10.0;
    const int sampleSeconds = args.size() > 2 ? args[2].toInt() : 30;
    if (minutes <= 0 || sampleSeconds <= 0) {
        std::fprintf(stderr, "usage: soak_polls [MINUTES] [SAMPLE_SECONDS]\n");
        return 2;
    }
    const qint64 durationMs = static_cast<qint64>(minutes * 60000.0);

    sim::GateSimulator simulator;
    sim::SimulatorOptions options;
    options.tcpPort = 0;
    options.demoSeed = 7;
    QString error;
    if (!simulator.Start(options, &error)) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(error));
        return 1;
    }
    gate::ComPortTable table;
    auto library = gate::CreateGateLibrary(table);
    CountingPrompter prompter;
    util::SystemClock clock;
    app::Console console(*library, prompter, clock, {table});
    app::TForm1& form = console.Window();

    auto find = [&form](const char* name) {
        return form.findChild<QWidget*>(QString::fromLatin1(name));
    };
    form.PageControl2().setCurrentIndex(1);
    qobject_cast<QLineEdit*>(find("Edit6"))->setText(QStringLiteral("127.0.0.1"));
    qobject_cast<QLineEdit*>(find("Edit5"))
        ->setText(QString::number(simulator.Endpoints().tcpPort));
    qobject_cast<QPushButton*>(find("Button18"))->click();
    if (form.Fields().connection.PortHandle < 0) {
        std::fprintf(stderr, "could not open the network link\n");
        return 1;
    }
    // The window offers the start button of the controller's mode only (channel here); the
    // EAS poll's timer is started as its button would, so both ticks run side by side.
    qobject_cast<QPushButton*>(find("Button_C_Get"))->click();
    if (!form.Timer3().isActive()) {
        form.Timer3().start();
    }
    if (!form.Timer1().isActive() || !form.Timer3().isActive()) {
        std::fprintf(stderr, "the polls did not start\n");
        return 1;
    }
    std::printf("soak: %.1f min, Timer1 %d ms, Timer3 %d ms, sample every %d s\n", minutes,
                form.Timer1().interval(), form.Timer3().interval(), sampleSeconds);
    std::printf("%8s %10s %10s %6s\n", "seconds", "VmRSS_kB", "lines", "mode");

    QElapsedTimer elapsed;
    elapsed.start();
    const long rss0 = VmRssKb();
    const qint64 lines0 = TotalListLines(form);
    bool eas = false;
    auto sample = [&] {
        std::printf("%8lld %10ld %10lld %6s\n", static_cast<long long>(elapsed.elapsed() / 1000),
                    VmRssKb(), static_cast<long long>(TotalListLines(form)), eas ? "eas" : "chan");
        std::fflush(stdout);
    };
    sample();
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);
    sampler.start(sampleSeconds * 1000);
    QTimer::singleShot(durationMs / 2, [&] {
        simulator.WithModel([](sim::ControllerModel& m) {
            return sim::ApplySetting(m, QStringLiteral("mode"), QStringLiteral("eas"));
        });
        eas = true;
    });
    QTimer::singleShot(durationMs, &application, &QCoreApplication::quit);
    application.exec();
    sample();

    const long rss1 = VmRssKb();
    const qint64 lines1 = TotalListLines(form);
    const qint64 grownLines = lines1 - lines0;
    std::printf("RSS %ld -> %ld kB (%+ld kB), lines %lld -> %lld, polls still running: %s\n", rss0,
                rss1, rss1 - rss0, static_cast<long long>(lines0), static_cast<long long>(lines1),
                form.Timer1().isActive() && form.Timer3().isActive() ? "yes" : "no");
    if (grownLines > 0) {
        std::printf("growth per line: %.0f bytes\n",
                    double(rss1 - rss0) * 1024.0 / double(grownLines));
    }
    std::printf("prompts shown: %d, last status: %s\n", prompter.messages,
                qPrintable(form.StatusBar().Panel(0)));
    form.Timer1().stop();
    form.Timer3().stop();
    library.reset();
    simulator.Stop();
    return 0;
}
