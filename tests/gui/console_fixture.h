#pragma once

#include <QList>
#include <QWidget>

#include "app/console_context.h"
#include "app/controllers.h"
#include "app/main_window.h"
#include "app/result_reporter.h"
#include "app/secondary_windows.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

// The main window with every controller installed over the scripted library and prompter, at a
// fixed clock: the console as gate-console builds it, without a controller behind it.
struct Console {
    testing_support::ScriptedGateLibrary library;
    testing_support::RecordingPrompter prompter;
    util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    app::TForm1 form;
    app::ResultReporter reporter{form.StatusBar(), clock};
    app::ConsoleContext ctx{library, form.Fields(), reporter, prompter, clock, form};

    Console() { app::InstallControllers(ctx, form); }

    // The main window, then the six secondary windows.
    QList<QWidget*> Windows() {
        return {&form,
                &form.Form3(),
                &form.fSetdlg(),
                &form.ChangeIPdlg(),
                &form.locateForm(),
                &form.fNhSetDlg(),
                &form.fPhSetDlg()};
    }
};
