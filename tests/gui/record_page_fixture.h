#pragma once

#include "gui/button_lock.h"
#include "gui/console_context.h"
#include "gui/form_fields.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

// A stand-in for the main window's command page: every control the record controllers and the
// export lock look for, by object name, plus the status bar, the scripted library and prompter,
// and a fixed clock at 2024-05-06 09:08:42.
struct RecordPageFixture {
    RecordPageFixture()
        : clock(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 42))),
          bar(new gui::GateStatusBar(&form)),
          reporter(*bar, clock),
          ctx{library, fields, reporter, prompter, clock, form} {
        auto* layout = new QVBoxLayout(&form);
        QStringList buttons = records::ExportLockedButtonNames();
        buttons << QStringLiteral("SaveAndDeleteAll");
        for (const QString& name : buttons) {
            auto* b = new QPushButton(name, &form);
            b->setObjectName(name);
            layout->addWidget(b);
        }
        for (const char* name : {"Edit1", "Edit20", "Edit21", "Edit22", "Edit31"}) {
            auto* e = new QLineEdit(&form);
            e->setObjectName(QString::fromLatin1(name));
            layout->addWidget(e);
        }
        layout->addWidget(bar);
        fields.connection.PortHandle = 4001;
        fields.connection.ControllerAddress = 1;
    }

    QAbstractButton* Button(const QString& name) { return form.findChild<QAbstractButton*>(name); }
    QLineEdit* Edit(const char* name) {
        return form.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void Click(const char* name) { Button(QString::fromLatin1(name))->click(); }

    QWidget form;
    testing_support::ScriptedGateLibrary library;
    testing_support::RecordingPrompter prompter;
    gui::FormFields fields;
    util::FixedClock clock;
    gui::GateStatusBar* bar;
    gui::ResultReporter reporter;
    gui::ConsoleContext ctx;
};
