// The record controllers on the real main window: every control they and the export lock need
// exists under its name, the buttons are bound, and Enter in Edit31 searches.
#include "app/controllers.h"
#include "app/main_window.h"
#include "gui/button_lock.h"
#include "gui/console_context.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "scripted_gate_library.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

class TestRecordFormBinding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyLockedButtonExists() {
        app::TForm1 form;
        QStringList names = records::ExportLockedButtonNames();
        names << QStringLiteral("SaveAndDeleteAll");
        for (const QString& name : names) {
            QVERIFY2(form.findChild<QAbstractButton*>(name) != nullptr, qPrintable(name));
        }
        for (const char* edit : {"Edit1", "Edit20", "Edit21", "Edit22", "Edit31"}) {
            QVERIFY2(form.findChild<QLineEdit*>(QString::fromLatin1(edit)) != nullptr, edit);
        }
    }

    void buttonsAndEnterReachTheLibrary() {
        app::TForm1 form;
        testing_support::ScriptedGateLibrary library;
        testing_support::RecordingPrompter prompter;
        util::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 42)));
        gui::ResultReporter reporter(form.StatusBar(), clock);
        gui::ConsoleContext ctx{library, form.Fields(), reporter, prompter, clock, form};
        app::InstallControllers(ctx, form);

        auto* status = form.findChild<QAbstractButton*>(QStringLiteral("GetBackRecorfStatus"));
        status->setEnabled(true);
        status->click();
        QCOMPARE(library.CountOf(QStringLiteral("GetBGLogDataStatus")), 1);
        QCOMPARE(form.StatusBar().Panel(0), QStringLiteral("09:08:42  查询后台记录状态操作成功"));

        auto* edit31 = form.findChild<QLineEdit*>(QStringLiteral("Edit31"));
        edit31->setText(QStringLiteral("12"));
        Q_EMIT form.Edit31EnterPressed();
        QCOMPARE(library.CallsOf(QStringLiteral("RetrieveRecordByIndex")).size(), 1);
        QCOMPARE(library.CallsOf(QStringLiteral("RetrieveRecordByIndex"))[0].args.at(1).toInt(),
                 12);
    }
};

QTEST_MAIN(TestRecordFormBinding)
#include "test_record_form_binding.moc"
