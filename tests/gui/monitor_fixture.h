#pragma once

#include "console_window.h"
#include "gui/message_list.h"

#include <QPushButton>

// The console connected to controller address 3 on handle 1030 in channel-management mode, the
// clock at 2024-05-06 09:08:42: the monitoring pages' tests.
struct MonitorFixture : testing_support::ConsoleWindow<> {
    MonitorFixture() : ConsoleWindow(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 42))) {
        Connect(1030, 3);
    }

    gui::FormFields& Fields() { return fields; }
    QPushButton& Button(const char* name) { return *get<QPushButton>(name); }
    gui::MessageList& List(const char* name) { return *get<gui::MessageList>(name); }
    QStringList Lines(const char* name) {
        QStringList out;
        gui::MessageList& list = List(name);
        for (int i = 0; i < list.Count(); ++i) {
            out.append(list.Line(i));
        }
        return out;
    }
};

inline QByteArray MessageBytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}
