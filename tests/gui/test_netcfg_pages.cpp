// The module page and its dialogs driven through their controls, against module-sim on
// loopback (the broadcast destination injected as 127.0.0.1).
#include <QComboBox>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include "console_window.h"
#include "controllers/netcfg/locate_controller.h"
#include "controllers/netcfg/netcfg_controller.h"
#include "forms/secondary_windows.h"
#include "module_sim_fixture.h"
#include "recording_prompter.h"

using gui::Prompter;

namespace {

constexpr QByteArrayView kMac = "00-0E-C6-AA-BB-01";

template <typename T>
T& Find(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c) {
        qFatal("no %s", name);
    }
    return *c;
}

// The console's module page and its four dialogs, under the names the tests use.
struct NetcfgWindows {
    testing_support::ConsoleWindow<> console{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    app::TForm1& main = console.form;
    QDialog& locate = main.locateForm();
    QDialog& properties = main.fSetdlg();
    QDialog& networkAdvanced = main.fNhSetDlg();
    QDialog& serialAdvanced = main.fPhSetDlg();
    QDialog& changeIp = main.ChangeIPdlg();
};

}  // namespace

class TestNetcfgPages : public QObject {
    Q_OBJECT

    std::unique_ptr<LoopbackModule> module_;
    std::unique_ptr<NetcfgWindows> w_;
    testing_support::RecordingPrompter* prompter_ = nullptr;
    netcfg::NetcfgController* controller_ = nullptr;

    QTableWidget& List() { return Find<QTableWidget>(w_->main, "ListView1"); }
    void Click(QWidget& window, const char* name) {
        QTest::mouseClick(&Find<QPushButton>(window, name), Qt::LeftButton);
    }
    // Searches and selects the module's row.
    void SearchAndSelect() {
        Click(w_->main, "Button20");
        QTRY_COMPARE(List().rowCount(), 1);
        List().selectRow(0);
    }
    QStringList Texts() const {
        QStringList t;
        for (const auto& m : prompter_->messages) {
            t.append(m.text);
        }
        return t;
    }

private Q_SLOTS:
    void init() {
        module_ = std::make_unique<LoopbackModule>(kMac.toByteArray(), "gate", "door");
        QVERIFY(module_->listening);
        w_ = std::make_unique<NetcfgWindows>();
        prompter_ = &w_->console.prompter;
        controller_ = w_->console.console.Controllers().netcfg;
        auto& s = controller_->Session();
        s.Target().broadcastAddress = QStringLiteral("127.0.0.1");
        s.Target().port = module_->server.Port();
        s.Timing().windowMs = 300;
        w_->main.PageControl1().setCurrentIndex(4);  // "TCPIP配置"
        w_->main.show();
    }
    void cleanup() {
        w_.reset();
        module_.reset();
    }

    void searchListsModuleOnce() {
        SearchAndSelect();
        QCOMPARE(List().item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(List().item(0, 1)->text(), QString::fromLatin1(kMac));
        QCOMPARE(List().item(0, 2)->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(List().item(0, 3)->text(), QStringLiteral("gate/door"));
        QVERIFY(controller_->Session().SearchEndpoint().Send("X"));
        QTRY_COMPARE(module_->CountReceived("X"), 2);
        QTest::qWait(100);
        QCOMPARE(List().rowCount(), 1);
    }

    void buttonsWithoutSelectionWarn_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("properties") << QByteArray("Button22");
        QTest::newRow("flash") << QByteArray("Button24");
    }
    void buttonsWithoutSelectionWarn() {
        QFETCH(QByteArray, button);
        Click(w_->main, button.constData());
        QCOMPARE(prompter_->messages.size(), 1);
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("没有选择设备！"));
        QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
        QVERIFY(module_->model.Received().isEmpty());
    }

    void readFillsPropertiesDialog() {
        auto& m = module_->model;
        netcfg::ModuleSettings changed = m.Settings();
        changed.BaudRate = "8";
        changed.WorkMode = "1";
        m = modulesim::ModuleModel(changed);
        SearchAndSelect();
        Click(w_->main, "Button22");
        QVERIFY(w_->properties.isVisible());
        QVERIFY(!w_->main.isEnabled());
        QCOMPARE(Find<QLineEdit>(w_->properties, "Edit1").text(), QStringLiteral("gate"));
        QCOMPARE(Find<QLineEdit>(w_->properties, "Edit3").text(), QString::fromLatin1(kMac));
        QCOMPARE(Find<QComboBox>(w_->properties, "ComboBox3").currentText(),
                 QStringLiteral("150bps"));
        // Client mode read from the module: enabled, but the read-only state stays.
        QVERIFY(Find<QLineEdit>(w_->properties, "Edit6").isEnabled());
        QVERIFY(Find<QLineEdit>(w_->properties, "Edit6").isReadOnly());
        QVERIFY(!Find<QLineEdit>(w_->properties, "Edit7").isReadOnly());
        QCOMPARE(Find<QComboBox>(w_->networkAdvanced, "ComboBox2").currentIndex(), 10);
        QCOMPARE(Find<QLineEdit>(w_->serialAdvanced, "Edit1").text(), QStringLiteral("256"));
        QVERIFY(prompter_->messages.isEmpty());

        // The operator picks server: the client fields go off and read-only.
        auto& mode = Find<QComboBox>(w_->properties, "ComboBox2");
        mode.setCurrentIndex(0);
        Q_EMIT mode.activated(0);
        QVERIFY(!Find<QLineEdit>(w_->properties, "Edit7").isEnabled());
        QVERIFY(Find<QLineEdit>(w_->properties, "Edit7").isReadOnly());
        QVERIFY(!Find<QPushButton>(w_->properties, "Button1").isEnabled());

        Click(w_->properties, "Button3");
        QVERIFY(!w_->properties.isVisible());
        QVERIFY(w_->main.isEnabled());
    }

    void silentModuleFailsCompletenessCheck() {
        SearchAndSelect();
        module_->model.Switches().silent = true;
        controller_->Session().Timing().windowMs = 5;
        Click(w_->main, "Button22");
        QCOMPARE(Texts(), QStringList{QStringLiteral("请检查设备与pc连线状态!")});
        QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
        QVERIFY(!w_->properties.isVisible());
        QVERIFY(w_->main.isEnabled());
    }

    // Without an earlier read of the connection method, its missing reply stops the fill.
    void missingConnectionMethodStopsTheFill() {
        SearchAndSelect();
        module_->model.Switches().silentOn = {"CM"};
        controller_->Session().Timing().windowMs = 50;
        Click(w_->main, "Button22");
        QCOMPARE(prompter_->conversionErrors, QStringList{QString()});
        QVERIFY(!w_->properties.isVisible());
        QVERIFY(w_->main.isEnabled());
    }

    void writeSendsEditedValuesAndEmptiesList() {
        SearchAndSelect();
        Click(w_->main, "Button22");
        QVERIFY(w_->properties.isVisible());
        Find<QLineEdit>(w_->properties, "Edit5").setText(QStringLiteral("502"));
        Find<QLineEdit>(w_->properties, "Edit1").clear();
        module_->model.Switches() = {};
        const qsizetype before = module_->model.Received().size();
        Click(w_->properties, "Button2");
        QTRY_COMPARE(module_->model.Received().size(), before + 45);
        QCOMPARE(module_->CountReceived("SPN502|21"), 2);
        QCOMPARE(module_->CountReceived("SON|18"), 2);
        QCOMPARE(module_->model.Settings().SourcePort, QByteArray("502"));
        QCOMPARE(List().rowCount(), 0);
        QVERIFY(!w_->properties.isVisible());
        QVERIFY(w_->main.isEnabled());
    }

    // Every way an advanced dialog closes other than OK ends as its cancel does: what it showed
    // when opened is back, the properties dialog is usable again, and the write sends the read
    // value. OK keeps the edit.
    void advancedDialogCloses_data() {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("OK") << QByteArray("ok") << QByteArray("SML512|31");
        QTest::newRow("cancel") << QByteArray("cancel") << QByteArray("SML256|31");
        QTest::newRow("Escape") << QByteArray("escape") << QByteArray("SML256|31");
        QTest::newRow("window-manager close") << QByteArray("close") << QByteArray("SML256|31");
    }
    void advancedDialogCloses() {
        QFETCH(QByteArray, how);
        QFETCH(QByteArray, written);
        SearchAndSelect();
        Click(w_->main, "Button22");
        Click(w_->properties, "Button4");
        QDialog& advanced = w_->serialAdvanced;
        QVERIFY(advanced.isVisible());
        QVERIFY(!w_->properties.isEnabled());
        auto& packets = Find<QLineEdit>(advanced, "Edit1");
        packets.setText(QStringLiteral("512"));
        if (how == "ok") {
            Click(advanced, "Button1");
        } else if (how == "cancel") {
            Click(advanced, "Button2");
        } else if (how == "escape") {
            QTest::keyClick(&packets, Qt::Key_Escape);
        } else {
            advanced.close();
        }
        QVERIFY(!advanced.isVisible());
        QVERIFY(w_->properties.isEnabled());
        QCOMPARE(packets.text(), QString::fromLatin1(written.mid(3, 3)));
        Click(w_->properties, "Button2");
        QTRY_COMPARE(module_->CountReceived(written), 2);
    }

    // Closing the properties dialog while an advanced dialog is open leaves nothing disabled.
    void propertiesClosedBehindAdvancedDialog() {
        SearchAndSelect();
        Click(w_->main, "Button22");
        Click(w_->properties, "Button4");
        QVERIFY(w_->serialAdvanced.isVisible());
        w_->properties.close();
        QVERIFY(!w_->serialAdvanced.isVisible());
        QVERIFY(w_->properties.isEnabled());
        QVERIFY(w_->main.isEnabled());
    }

    // Names that are not valid GBK go back byte for byte unless the operator edits them; an
    // edited name is sent in GBK.
    void unchangedNamesRoundTripTheirBytes() {
        const QByteArray user("\x81\x20gate\xFF", 7);
        netcfg::ModuleSettings s = module_->model.Settings();
        s.UserName = user;
        s.DeviceName = QByteArray("\xB4\xF3\x80", 3);
        module_->model = modulesim::ModuleModel(s);
        SearchAndSelect();
        Click(w_->main, "Button22");
        QVERIFY(w_->properties.isVisible());
        Find<QLineEdit>(w_->properties, "Edit2").setText(QStringLiteral("门"));
        Click(w_->properties, "Button2");
        QTRY_COMPARE(module_->CountReceived("SON" + user + "|18"), 2);
        QCOMPARE(module_->CountReceived(QByteArray("SDN\xC3\xC5|19")), 2);
    }

    // Quitting the application during a read ends the wait at once: the read stops where it
    // was, sends nothing more and shows nothing.
    void quittingEndsTheReadAtOnce() {
        SearchAndSelect();
        module_->model.Switches().silent = true;
        controller_->Session().Timing().windowMs = 100;
        const qsizetype before = module_->model.Received().size();
        QTimer::singleShot(0, this, [this] { Click(w_->main, "Button22"); });
        QTimer::singleShot(30, this, [] { QCoreApplication::quit(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(module_->model.Received().size() - before, 1);
        QVERIFY(prompter_->messages.isEmpty());
        QVERIFY(!w_->properties.isVisible());
    }

    // When the search endpoint cannot be opened, "服务端口冲突！" comes first, then the search
    // goes out all the same.
    void portConflictBeforeTheSearch() {
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        auto& target = controller_->Session().Target();
        target.port = probe.localPort();
        target.localAddress = QHostAddress(QStringLiteral("198.18.0.1"));  // not on this host
        bool sentBeforeTheBox = true;
        prompter_->onMessage = [&](const auto&) { sentBeforeTheBox = probe.hasPendingDatagrams(); };
        Click(w_->main, "Button20");
        QCOMPARE(Texts(), QStringList{QStringLiteral("服务端口冲突！")});
        QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Information);
        QVERIFY(!sentBeforeTheBox);
        QTRY_VERIFY(probe.hasPendingDatagrams());
        QCOMPARE(probe.receiveDatagram().data(), QByteArray("X"));
    }

    void advancedOkCopiesIntoSettings() {
        SearchAndSelect();
        Click(w_->main, "Button22");
        Click(w_->properties, "Button1");
        Find<QComboBox>(w_->networkAdvanced, "ComboBox2").setCurrentIndex(42);
        Click(w_->networkAdvanced, "Button1");
        QCOMPARE(controller_->Session().Settings().ConnectTimeLimit, QByteArray("42"));
        QVERIFY(!w_->networkAdvanced.isVisible());
        Click(w_->properties, "Button2");
        QTRY_COMPARE(module_->CountReceived("SCT42|30"), 2);
    }

    void listWithoutSelectionIsNotWritten() {
        SearchAndSelect();
        Click(w_->main, "Button22");
        Find<QComboBox>(w_->properties, "ComboBox4").setCurrentIndex(-1);
        const qsizetype before = module_->model.Received().size();
        Click(w_->properties, "Button2");
        QCOMPARE(prompter_->messages.size(), 1);
        QVERIFY(prompter_->messages[0].text.contains(u"校验"));
        QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
        QTest::qWait(50);
        QCOMPARE(module_->model.Received().size(), before);
        QVERIFY(w_->properties.isVisible());
        QCOMPARE(List().rowCount(), 1);
    }

    void changeIpSendsTheNewAddress() {
        SearchAndSelect();
        Click(w_->main, "Button23");
        QVERIFY(w_->changeIp.isVisible());
        auto& entry = Find<QLineEdit>(w_->changeIp, "MaskEdit1");
        entry.setText(QStringLiteral("198.   .0  .1  "));
        Click(w_->changeIp, "Button1");
        QCOMPARE(Texts(), QStringList{QStringLiteral("输入的IP不合法！")});
        QVERIFY(w_->changeIp.isVisible());

        entry.setText(QStringLiteral("198.18 .1  .3  "));
        Click(w_->changeIp, "Button1");
        QTRY_COMPARE(module_->model.Applied().count("IP=198.18.1.3"), 2);
        QCOMPARE(module_->CountReceived("SIP198.18.1.3|34"), 2);
        QCOMPARE(List().rowCount(), 0);
        QVERIFY(!w_->changeIp.isVisible());
    }

    void typingAFieldAbove255Warns() {
        auto& entry = Find<QLineEdit>(w_->locate, "MaskEdit1");
        entry.setFocus();
        entry.setCursorPosition(0);
        QTest::keyClicks(&entry, QStringLiteral("3"));
        QVERIFY(prompter_->messages.isEmpty());
        QTest::keyClicks(&entry, QStringLiteral("00"));
        QCOMPARE(Texts(), QStringList{QStringLiteral("错误: 300是错误的地址")});
        // A plain box: no icon, the application's title as its caption.
        QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::None);
        QCOMPARE(prompter_->messages[0].caption, QCoreApplication::applicationName());
    }

    void directedSearch_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<char>("refuse");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("reply from the address lists it")
            << QStringLiteral("127.0  .0  .1  ") << char(0) << 1 << false;
        QTest::newRow("leading zeros never match the sender")
            << QStringLiteral("127.000.000.001") << char(0) << 0 << false;
        QTest::newRow("refusal leaves the dialog open")
            << QStringLiteral("127.0  .0  .1  ") << 'D' << 0 << true;
    }
    void directedSearch() {
        QFETCH(QString, entry);
        QFETCH(char, refuse);
        QFETCH(int, rows);
        QFETCH(bool, staysOpen);
        module_->model.Switches().refuseWith = refuse;
        Click(w_->main, "Button21");
        QVERIFY(w_->locate.isVisible());
        Find<QLineEdit>(w_->locate, "MaskEdit1").setText(entry);
        Click(w_->locate, "Button1");
        QCOMPARE(List().rowCount(), rows);
        QCOMPARE(w_->locate.isVisible(), staysOpen);
        QCOMPARE(module_->CountReceived("X"), 1);
        if (refuse) {
            QCOMPARE(controller_->Locate().LastRefusalText(), QStringLiteral("与设备连接不上"));
        }
        QVERIFY(prompter_->messages.isEmpty());
    }

    void flashNamesNoModule() {
        SearchAndSelect();
        Click(w_->main, "Button24");
        QCOMPARE(module_->model.FlashCount(), 1);
        QCOMPARE(controller_->Session().Settings().Mac, kMac.toByteArray());
        QVERIFY(prompter_->messages.isEmpty());
    }
};

QTEST_MAIN(TestNetcfgPages)
#include "test_netcfg_pages.moc"
