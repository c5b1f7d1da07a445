#pragma once

#include "app/console.h"
#include "app/main_window.h"
#include "gui/form_fields.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QTabWidget>
#include <QVariantList>

#include <utility>

namespace testing_support {

// The console as gate-console builds it (the main window, the six secondary windows and every
// controller, wired as in the program) over a gate library of type Library, a recording
// prompter and a clock standing at `now`. Tests reach the controls by their object names, as an
// operator reaches them by their captions.
template <class Library = ScriptedGateLibrary>
class ConsoleWindow {
public:
    template <class... LibraryArgs>
    explicit ConsoleWindow(const QDateTime& now, app::Console::Options options = {},
                           LibraryArgs&&... libraryArgs)
        : library(std::forward<LibraryArgs>(libraryArgs)...),
          clock(now),
          console(library, prompter, clock, std::move(options)),
          form(console.Window()),
          bar(&form.StatusBar()),
          fields(form.Fields()) {}

    // Opens the controller connection as an operator does on the serial tab with "Auto"
    // selected: the address typed in hexadecimal, "打开端口". The scripted library answers the
    // open with handle, the identity with version 7.02 and the mode query with mode. The calls,
    // prompts and status-bar texts of the open are then forgotten, so that a test sees only what
    // it does itself.
    void Connect(std::int32_t handle, gate::Byte address, gate::Byte mode = 0) {
        form.PageControl2().setCurrentIndex(0);
        get<QComboBox>("ComboBox_Port")->setCurrentIndex(0);
        setText("editControlAddr", QString::number(address, 16).toUpper());
        library.Script(QStringLiteral("AutoOpenComPort"), 0, {{QStringLiteral("handle"), handle}});
        library.Script(QStringLiteral("GetControllerInfo"), 0,
                       {{QStringLiteral("product"), 0x3A},
                        {QStringLiteral("major"), 7},
                        {QStringLiteral("minor"), 2}});
        library.Script(QStringLiteral("ModeSwitch"), 0, {{QStringLiteral("mode"), mode}});
        click("OpenPort");
        if (!fields.connection.IsOpen() || fields.connection.PortHandle != handle) {
            qFatal("the scripted open did not connect");
        }
        library.ClearCalls();
        prompter = RecordingPrompter();
        bar->SetPanel(0, QString());
        bar->SetPanel(1, QString());
    }

    template <class T = QWidget>
    T* get(const char* name) const {
        T* w = form.template findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) {
            qFatal("no control %s", name);
        }
        return w;
    }
    template <class T = QWidget>
    T* get(const QString& name) const {
        return get<T>(name.toLatin1().constData());
    }
    // A click as the operator makes it: a disabled button does nothing.
    void click(const char* name) { get<QAbstractButton>(name)->click(); }
    bool enabled(const char* name) const { return get(name)->isEnabled(); }
    QComboBox* list(const char* name) { return get<QComboBox>(name); }
    void select(const char* name, int index) { list(name)->setCurrentIndex(index); }
    void setText(const char* name, const QString& text) { get<QLineEdit>(name)->setText(text); }
    QString text(const char* name) { return get<QLineEdit>(name)->text(); }
    void check(const char* name, bool on = true) { get<QAbstractButton>(name)->setChecked(on); }
    bool checked(const char* name) { return get<QAbstractButton>(name)->isChecked(); }
    QString panel(int i) const { return bar->Panel(i); }

    // The arguments of the only call of op (address first, handle last).
    QVariantList onlyCall(const QString& op) {
        const auto calls = library.CallsOf(op);
        if (calls.size() != 1) {
            qWarning("%s called %d times", qPrintable(op), int(calls.size()));
            return {};
        }
        return calls.front().args;
    }

    Library library;
    RecordingPrompter prompter;
    util::FixedClock clock;
    app::Console console;
    app::TForm1& form;
    gui::GateStatusBar* bar;
    gui::FormFields& fields;
};

// The console connected on COM 4 to controller address 0x01, in channel-management mode, with
// the clock at 2026-05-06 09:08:07: the command and alarm pages' tests.
struct CommandConsole : ConsoleWindow<> {
    CommandConsole() : ConsoleWindow(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))) {
        Connect(4, 0x01);
    }
};

inline QVariantList Args(std::initializer_list<QVariant> values) {
    return QVariantList(values);
}

}  // namespace testing_support
