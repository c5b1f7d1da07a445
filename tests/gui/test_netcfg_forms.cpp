// The module controllers bound to the real window definitions: every control they need is
// there, and a read and a write go through end to end against module-sim on loopback.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/main_window.h"
#include "controllers/netcfg/netcfg_controller.h"
#include "forms/secondary_windows.h"
#include "module_sim_fixture.h"
#include "recording_prompter.h"

class TestNetcfgForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readAndWriteThroughTheForms() {
        LoopbackModule module("00-0E-C6-AA-BB-07", "gate", "door");
        netcfg::ModuleSettings s = module.model.Settings();
        s.BaudRate = "8";
        module.model = modulesim::ModuleModel(s);
        QVERIFY(module.listening);
        app::TForm1 form;
        testing_support::RecordingPrompter prompter;
        netcfg::NetcfgController controller(
            {form, form, form.locateForm(), form.fSetdlg(), form.fNhSetDlg(), form.fPhSetDlg(),
             form.ChangeIPdlg()},
            prompter);
        controller.Session().Target().broadcastAddress = QStringLiteral("127.0.0.1");
        controller.Session().Target().port = module.server.Port();
        form.show();

        auto* list = form.findChild<QTableWidget*>(QStringLiteral("ListView1"));
        QVERIFY(list);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button20")), Qt::LeftButton);
        QTRY_COMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("gate/door"));
        list->selectRow(0);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button22")), Qt::LeftButton);
        QVERIFY2(prompter.messages.isEmpty(), qPrintable(prompter.messages.value(0).text +
                                                         prompter.conversionErrors.join(u' ')));
        QDialog& dialog = form.fSetdlg();
        QVERIFY(dialog.isVisible());
        QVERIFY(!form.isEnabled());
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("ComboBox3"))->currentText(),
                 QStringLiteral("150bps"));
        QCOMPARE(form.fNhSetDlg().findChild<QComboBox*>(QStringLiteral("ComboBox2"))->count(), 100);
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit5"))->setText(QStringLiteral("502"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button2")),
                          Qt::LeftButton);
        QTRY_COMPARE(module.CountReceived("SPN502|21"), 2);
        QCOMPARE(list->rowCount(), 0);
        QVERIFY(!dialog.isVisible());
        QVERIFY(form.isEnabled());
    }
};

QTEST_MAIN(TestNetcfgForms)
#include "test_netcfg_forms.moc"
