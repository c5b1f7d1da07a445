#include <QApplication>
#include <QTextStream>

#include <cstdio>

#include "app/console.h"
#include "app/console_command_line.h"
#include "app/demo_mode.h"
#include "app/event_journal.h"
#include "app/main_window.h"
#include "gate/com_port_table.h"
#include "gate/gate_library_factory.h"
#include "gui/qt_prompter.h"
#include "util/clock.h"

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = app::AnswerBeforeApplication(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);

    app::ConsoleOptions options = app::ParseConsoleOptions(QApplication::arguments());
    if (options.exitCode) {
        return *options.exitCode;
    }
    QTextStream err(stderr);
    // Before any window: every text is translated when its window is made.
    for (const QString& missing : app::InstallConsoleLanguage(application, options.language)) {
        err << "gate-console: translation not found, some texts stay untranslated: " << missing
            << Qt::endl;
    }
    gate::ComPortTable comPorts = std::move(options.comPorts);
    std::unique_ptr<app::DemoMode> demo;
    if (options.demo) {
        QString error;
        demo = app::DemoMode::Start(comPorts, &error);
        if (demo) {
            err << demo->Summary() << Qt::endl;
        } else {
            err << "gate-console: the demo controller did not start: " << error << Qt::endl;
        }
    }

    std::unique_ptr<gate::GateLibrary> library = gate::CreateGateLibrary(comPorts);
    util::SystemClock clock;

    gui::QtPrompter prompter;
    app::Console console(*library, prompter, clock, {std::move(comPorts)});
    prompter.SetParent(&console.Window());
    std::unique_ptr<app::EventJournal> journal;
    if (!options.journalDirectory.isEmpty()) {
        journal = std::make_unique<app::EventJournal>(options.journalDirectory, clock, prompter,
                                                      console.Reporter());
        journal->AttachTo(console.Window());
    }
    if (demo) {
        demo->ApplyTo(console.Window());
    }
    console.Window().show();
    return QApplication::exec();
}
