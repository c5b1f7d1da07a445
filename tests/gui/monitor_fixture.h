#pragma once

#include "app/main_window.h"
#include "gui/console_context.h"
#include "gui/message_list.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "monitor/install_monitor_controllers.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

#include <QPushButton>

#include <memory>

// The real main window with only the monitoring controllers installed, over the scripted
// library and prompter, with a controller connection open on handle 1030.
struct MonitorFixture {
    MonitorFixture()
        : clock(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 42))),
          reporter(form.StatusBar(), clock),
          ctx{library, form.Fields(), reporter, prompter, clock, form} {
        monitor::InstallMonitorControllers(ctx, form);
        form.Fields().connection.PortHandle = 1030;
        form.Fields().connection.ControllerAddress = 3;
    }

    gui::FormFields& Fields() { return form.Fields(); }
    QPushButton& Button(const char* name) {
        return *form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    gui::MessageList& List(const char* name) {
        return *form.findChild<gui::MessageList*>(QString::fromLatin1(name));
    }
    QStringList Lines(const char* name) {
        QStringList out;
        gui::MessageList& list = List(name);
        for (int i = 0; i < list.Count(); ++i) {
            out.append(list.Line(i));
        }
        return out;
    }

    testing_support::ScriptedGateLibrary library;
    testing_support::RecordingPrompter prompter;
    util::FixedClock clock;
    app::TForm1 form;
    gui::ResultReporter reporter;
    gui::ConsoleContext ctx;
};

inline QByteArray MessageBytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}
