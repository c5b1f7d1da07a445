#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include "app/controllers.h"
#include "app/main_window.h"
#include "gui/console_context.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

using testing_support::RecordingPrompter;
using testing_support::ScriptedGateLibrary;

// The command controllers on the real main window: every control they need is there under its
// name, and the buttons reach the library.
class TestCommandControllersForm : public QObject {
    Q_OBJECT

    struct Window {
        app::TForm1 form;
        ScriptedGateLibrary library;
        RecordingPrompter prompter;
        util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
        gui::ResultReporter reporter{form.StatusBar(), clock};
        gui::ConsoleContext ctx{library, form.Fields(), reporter, prompter, clock, form};

        Window() {
            app::InstallControllers(ctx, form);
            form.Fields().connection.PortHandle = 4;
            form.Fields().connection.ControllerAddress = 1;
        }
        // Command buttons are enabled by an open connection; here they are enabled directly.
        void click(const char* name) {
            auto* b = form.findChild<QAbstractButton*>(QString::fromLatin1(name));
            QVERIFY2(b != nullptr, name);
            b->setEnabled(true);
            b->click();
        }
        bool listsFilled() {
            auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
            return list != nullptr && list->count() == 256;
        }
    };

private Q_SLOTS:
    void buttonsReachTheLibrary() {
        Window w;
        const char* buttons[] = {"Btn_ClearBuffer",
                                 "CloseIR",
                                 "OpenIR",
                                 "Btn_GetIRStatus",
                                 "Btn_GetControllerInfo",
                                 "btnGetReaderStatus",
                                 "Button2",
                                 "Button4",
                                 "btnGetControAddr",
                                 "Button6",
                                 "Button7",
                                 "Button8",
                                 "Button9",
                                 "Button10",
                                 "btnSetBackRecord",
                                 "btnReadBackRecord",
                                 "Button16",
                                 "Button17",
                                 "Button12"};
        for (const char* b : buttons) {
            w.click(b);
        }
        QCOMPARE(
            w.library.Ops(),
            (QStringList{
                QStringLiteral("ClearControllerBuffer"), QStringLiteral("SetIR"),
                QStringLiteral("SetIR"), QStringLiteral("GetIRStatus"),
                QStringLiteral("GetControllerInfo"),
                QStringLiteral("GetControllerReaderConnectionStatus"),
                QStringLiteral("TagPersonCorrelation"), QStringLiteral("ReadTagDataSetting"),
                QStringLiteral("SetControllerAddr"), QStringLiteral("ModeSwitch"),
                QStringLiteral("IRDirectionSetting"), QStringLiteral("IRDirectionSetting"),
                QStringLiteral("ControllerReaderConnectionBrokenAlarm"),
                QStringLiteral("ControllerReaderConnectionBrokenAlarm"),
                QStringLiteral("SetBGLogDataStatus"), QStringLiteral("GetBGLogDataRecordingStatus"),
                QStringLiteral("SaveRestoreConfig"), QStringLiteral("SetAutoLoad"),
                QStringLiteral("SetAlarmMask")}));
        // The start-up choices of the radio pairs: set the mask, save, enable auto-load.
        QCOMPARE(w.library.CallsOf(QStringLiteral("SetAlarmMask"))[0].args.value(1),
                 QVariant(0x80));
        QCOMPARE(w.library.CallsOf(QStringLiteral("SaveRestoreConfig"))[0].args.value(1),
                 QVariant(1));
        QCOMPARE(w.library.CallsOf(QStringLiteral("SetAutoLoad"))[0].args.value(1), QVariant(1));
    }

    void correlationControlsFollowCheckBox5FromTheStart() {
        Window w;
        for (const char* n : {"CheckBox6", "CheckBox8", "CheckBox9", "ComboBox10", "ComboBox11"}) {
            auto* c = w.form.findChild<QWidget*>(QString::fromLatin1(n));
            QVERIFY2(c != nullptr && !c->isEnabled(), n);
        }
    }

    // Switching to EAS while the channel poll runs only changes the monitoring buttons.
    void modeSwitchLeavesTheRunningPoll() {
        Window w;
        w.form.Timer1().start();
        w.library.Script(QStringLiteral("ModeSwitch"), 0, {{QStringLiteral("mode"), 0}});
        w.library.Script(QStringLiteral("ModeSwitch"), 0, {{QStringLiteral("mode"), 1}});
        auto* rb2 = w.form.findChild<QAbstractButton*>(QStringLiteral("rb2"));
        QVERIFY(rb2 != nullptr);
        rb2->setChecked(true);
        w.form.findChild<QWidget*>(QStringLiteral("StopGet"))->setEnabled(true);
        w.click("Button5");
        QCOMPARE(w.library.CountOf(QStringLiteral("ModeSwitch")), 2);
        QVERIFY(w.form.Timer1().isActive());
        QVERIFY(!w.form.findChild<QWidget*>(QStringLiteral("StopGet"))->isEnabled());
        QVERIFY(w.form.findChild<QWidget*>(QStringLiteral("Button13"))->isEnabled());
        QCOMPARE(w.form.StatusBar().Panel(0), QStringLiteral("09:08:07   模式设置成功"));
    }

    void startUpSelectionsAreSent() {
        Window w;
        QVERIFY(w.listsFilled());
        w.click("Button11");
        const QByteArray one("\x01\x01\x02\x01\x01\x02\x00\x00\x01", 9);
        QCOMPARE(w.library.CallsOf(QStringLiteral("SetAlarmPattern")).value(0).args,
                 (QVariantList{1, one.repeated(5), 4}));
        w.click("ControllerInfo");
        QCOMPARE(w.library.CallsOf(QStringLiteral("ConfigureController")).value(0).args,
                 (QVariantList{1, 30, 0, 10, 5, 2, 3, 0, 1, 4}));
    }
};

QTEST_MAIN(TestCommandControllersForm)
#include "test_command_controllers_form.moc"
