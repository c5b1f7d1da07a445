#pragma once

// The real console window over the real gate library, polling an in-process gate-sim that plays
// a scenario, connected over TCP loopback.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "app/console.h"
#include "app/main_window.h"
#include "gate/com_port_table.h"
#include "gate/gate_library_factory.h"
#include "gate_simulator.h"
#include "gui/message_list.h"
#include "recording_prompter.h"
#include "scenario.h"
#include "util/clock.h"

namespace monitor_testing {

struct PolledConsole {
    sim::GateSimulator simulator;
    std::unique_ptr<gate::GateLibrary> library;
    testing_support::RecordingPrompter prompter;
    util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    std::unique_ptr<app::Console> console;
    app::TForm1* form = nullptr;

    bool Start(const QString& scenarioText, const QString& mode) {
        QString error;
        auto scenario = sim::ParseScenario(scenarioText, &error);
        if (!scenario) {
            qWarning("scenario: %s", qPrintable(error));
            return false;
        }
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        options.settings = {{QStringLiteral("mode"), mode}};
        options.scenario = std::move(*scenario);
        if (!simulator.Start(options, &error)) {
            qWarning("simulator: %s", qPrintable(error));
            return false;
        }
        library = gate::CreateGateLibrary(gate::ComPortTable());
        console =
            std::make_unique<app::Console>(*library, prompter, clock, app::Console::Options{});
        form = &console->Window();
        form->PageControl2().setCurrentIndex(1);
        line("Edit6")->setText(QStringLiteral("127.0.0.1"));
        line("Edit5")->setText(QString::number(simulator.Endpoints().tcpPort));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button18")),
                          Qt::LeftButton);
        return form->Fields().connection.IsOpen();
    }
    QLineEdit* line(const char* name) {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void click(const char* name) {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    QStringList lines(const char* name) {
        auto* list = form->findChild<gui::MessageList*>(QString::fromLatin1(name));
        QStringList out;
        for (int i = 0; list != nullptr && i < list->Count(); ++i) {
            out.append(list->Line(i));
        }
        return out;
    }
};

}  // namespace monitor_testing
