#pragma once

#include "console_window.h"
#include "core/records/export_file.h"

#include <QAbstractButton>
#include <QLineEdit>

// The console connected to controller address 1 on handle 4001, the clock at 2024-05-06
// 09:08:42, record exports going to dirs.
struct RecordConsole : testing_support::ConsoleWindow<> {
    explicit RecordConsole(records::ExportDirectories dirs = records::DefaultExportDirectories())
        : ConsoleWindow(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 42)),
                        app::Console::Options{{}, std::move(dirs)}) {
        Connect(4001, 1);
    }

    QAbstractButton* Button(const QString& name) { return get<QAbstractButton>(name); }
    QLineEdit* Edit(const char* name) { return get<QLineEdit>(name); }
    void Click(const char* name) { click(name); }
};
