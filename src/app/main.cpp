#include <QApplication>
#include <QTextStream>

#include <cstdio>

#include "app/console_context.h"
#include "app/controllers.h"
#include "app/demo_mode.h"
#include "app/main_window.h"
#include "app/qt_prompter.h"
#include "app/result_reporter.h"
#include "gate/com_port_table.h"
#include "gate/gate_library_factory.h"
#include "util/clock.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);

    const QStringList arguments = QApplication::arguments();
    QStringList errors;
    gate::ComPortTable comPorts = gate::ComPortTable::FromArguments(arguments, &errors);
    QTextStream err(stderr);
    for (const QString& e : errors) {
        err << e << Qt::endl;
    }
    std::unique_ptr<app::DemoMode> demo;
    if (arguments.contains(QStringLiteral("--demo"))) {
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

    // TForm1 first; it creates the six secondary windows after itself.
    app::TForm1 form1;
    form1.SetComPorts(std::move(comPorts));
    app::QtPrompter prompter(&form1);
    app::ResultReporter reporter(form1.StatusBar(), clock);
    app::ConsoleContext context{*library, form1.Fields(), reporter, prompter, clock, form1};
    app::InstallControllers(context, form1);
    if (demo) {
        demo->ApplyTo(form1);
    }
    form1.show();
    return QApplication::exec();
}
