#pragma once

#include "commands/install_command_controllers.h"
#include "gui/console_context.h"
#include "gui/form_fields.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <memory>

namespace testing_support {

// Stand-in for the command and alarm pages of the main window: every control that the command
// controllers use, under its object name, with the lists and start-up selections of the
// window. Radio buttons of one group share a parent so that they exclude each other.
inline void BuildCommandPages(QWidget& form) {
    const auto list = [&form](const char* name, int first, int last, int startValue) {
        auto* c = new QComboBox(&form);
        c->setObjectName(QString::fromLatin1(name));
        for (int v = first; v <= last; ++v) {
            c->addItem(QString::number(v));
        }
        c->setCurrentIndex(startValue - first);
    };
    const auto texts = [&form](const char* name, const QStringList& items) {
        auto* c = new QComboBox(&form);
        c->setObjectName(QString::fromLatin1(name));
        c->addItems(items);
        c->setCurrentIndex(0);
    };
    const auto edit = [&form](const char* name, int maxLength) {
        auto* e = new QLineEdit(&form);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(maxLength);
    };
    const auto button = [&form](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, &form);
        b->setObjectName(QString::fromLatin1(name));
    };
    const auto check = [&form](const char* name) {
        auto* b = new QCheckBox(&form);
        b->setObjectName(QString::fromLatin1(name));
    };
    const auto radios = [&form](const char* first, const char* second) {
        auto* group = new QWidget(&form);
        auto* a = new QRadioButton(group);
        a->setObjectName(QString::fromLatin1(first));
        auto* b = new QRadioButton(group);
        b->setObjectName(QString::fromLatin1(second));
        a->setChecked(true);
    };

    // Device commands.
    list("ComboBox_Relay", 0, 255, 0);
    for (const char* n : {"ComboBox7", "ComboBox4", "ComboBox6", "ComboBox8", "ComboBox3"}) {
        list(n, 0, 255, 0);
    }
    list("ComboBox2", 0, 127, 0);
    radios("RadioButton_red", "RadioButton_Green");
    for (const char* n : {"Edit_year", "Edit_Month", "Edit_date", "Edit_Hour", "Edit_minute",
                          "Edit_Sedcond", "Edit2", "Edit3", "editNewConAddr"}) {
        edit(n, 2);
    }
    radios("RadioButton_SetClock", "RadioButton_GetClock");
    for (const char* n :
         {"IRStatus", "Edit17", "Edit18", "Edit19", "edtConnectStatus", "edtANTStatus", "Edit4"}) {
        edit(n, 32767);
    }
    for (const char* n : {"SetRealy", "LEDAndBuzTest", "ClockCMD", "CloseIR", "OpenIR",
                          "Btn_GetIRStatus", "Btn_GetControllerInfo", "Btn_GetControllerParticInfo",
                          "Btn_ClearBuffer", "btnGetReaderStatus"}) {
        button(n, QString());
    }

    // Configuration.
    list("ComboBox_ReaderInventory", 30, 255, 30);
    list("ComboBox_CloseReaderTime", 0, 255, 0);
    list("ComboBox_StatTime", 3, 255, 10);
    list("ComboBox_TagOverTime", 1, 15, 5);
    list("ComboBox_TagQuietTime", 1, 15, 2);
    list("ComboBox_BlockMaxStayTime", 3, 255, 3);
    texts("ComboBox_BackRecordConfig", {QStringLiteral("后台数据记录存储区满时停止记录"),
                                        QStringLiteral("后台数据记录存储区满时覆盖最早记录")});
    texts("ComboBox9", {QStringLiteral("启用"), QStringLiteral("关闭")});
    radios("RadioButton2", "RadioButton1");
    button("ControllerInfo", QStringLiteral("执 行"));
    for (const char* n :
         {"CheckBox5", "CheckBox6", "CheckBox8", "CheckBox9", "CheckBox10", "CheckBox11"}) {
        check(n);
    }
    list("ComboBox10", 0, 100, 20);
    list("ComboBox11", 0, 255, 100);
    list("ComboBox12", 1, 5, 1);
    button("Button1", QStringLiteral("设置"));
    button("Button2", QStringLiteral("读取"));
    button("Button3", QStringLiteral("设置配置"));
    button("Button4", QStringLiteral("读取配置"));
    button("btnSetControAddr", QStringLiteral("设置地址"));
    button("btnGetControAddr", QStringLiteral("读取地址"));

    // Switches.
    radios("rb1", "rb2");
    radios("rb3", "rb4");
    radios("rb9", "rb10");
    radios("rb13", "rb14");
    radios("RadioButton3", "RadioButton4");
    radios("RadioButton5", "RadioButton6");
    for (const char* n : {"Button5", "Button6", "Button7", "Button8", "Button9", "Button10",
                          "btnSetBackRecord", "btnReadBackRecord", "Button16", "Button17"}) {
        button(n, QString());
    }
    for (const char* n : {"Button_C_Get", "StopGet", "Button13", "Button14"}) {
        button(n, QString());
    }

    // Alarms: the 45 pattern lists start at 1, 1, 2, 1, 1, 2, 0, 0, 1 for every alarm.
    for (const char* n : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox7"}) {
        check(n);
    }
    radios("RadioButton7", "RadioButton8");
    button("Button11", QStringLiteral("设置"));
    button("Button12", QStringLiteral("执行"));
    const int start[9] = {1, 1, 2, 1, 1, 2, 0, 0, 1};
    for (int i = 0; i < 45; ++i) {
        const QString name =
            i == 0 ? QStringLiteral("ComboBox1") : QStringLiteral("ComboBox%1").arg(i + 12);
        list(name.toLatin1().constData(), 0, 255, start[i % 9]);
    }
}

// The command pages with the controllers installed on a library of type Library, a recording
// prompter and a clock standing at 09:08:07. The library is built from the constructor's
// arguments; a ScriptedGateLibrary fixture starts connected on COM 4 to address 0x01.
template <class Library>
struct CommandPages {
    QWidget form;
    gui::GateStatusBar* bar = new gui::GateStatusBar(&form);
    util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    gui::ResultReporter reporter{*bar, clock};
    Library library;
    RecordingPrompter prompter;
    gui::FormFields fields;
    gui::ConsoleContext ctx{library, fields, reporter, prompter, clock, form};

    template <class... Args>
    explicit CommandPages(Args&&... args) : library(std::forward<Args>(args)...) {
        BuildCommandPages(form);
        fields.connection.PortHandle = 4;
        fields.connection.ControllerAddress = 0x01;
        commands::InstallCommandControllers(ctx);
    }

    template <class T = QWidget>
    T* get(const char* name) {
        T* w = form.findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) {
            qFatal("no control %s", name);
        }
        return w;
    }
    void click(const char* name) { get<QAbstractButton>(name)->click(); }
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
};

using CommandPageFixture = CommandPages<ScriptedGateLibrary>;

inline QVariantList Args(std::initializer_list<QVariant> values) {
    return QVariantList(values);
}

}  // namespace testing_support
