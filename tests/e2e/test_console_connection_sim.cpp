// The console's connection handlers over the real gate library against gate-sim: open over
// TCP and over a pseudo-terminal, read the identity and mode, close again.
#include <QComboBox>
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
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "util/clock.h"

namespace {

constexpr int kSimCom = 7;

struct SimConsole {
    sim::GateSimulator simulator;
    std::unique_ptr<gate::GateLibrary> library;
    testing_support::RecordingPrompter prompter;
    util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    std::unique_ptr<app::Console> console;
    app::TForm1* form = nullptr;

    bool Start(std::vector<std::pair<QString, QString>> settings) {
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        options.pty = true;
        options.settings = std::move(settings);
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("simulator: %s", qPrintable(error));
            return false;
        }
        gate::ComPortTable table(QMap<int, QString>{{kSimCom, simulator.Endpoints().ptyPath}});
        library = gate::CreateGateLibrary(table);
        console =
            std::make_unique<app::Console>(*library, prompter, clock, app::Console::Options{table});
        form = &console->Window();
        return true;
    }
    template <typename T = QWidget>
    T* w(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QString text(const char* name) { return w<QLineEdit>(name)->text(); }
    QString panel(int i) { return form->StatusBar().Panel(i); }
};

}  // namespace

class TestConsoleConnectionSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void networkOpenReadsIdentityAndCloses() {
        SimConsole c;
        QVERIFY(c.Start({{QStringLiteral("product"), QStringLiteral("0x3A")},
                         {QStringLiteral("version"), QStringLiteral("7.05")}}));
        c.form->PageControl2().setCurrentIndex(1);
        c.w<QLineEdit>("Edit6")->setText(QStringLiteral(" 127.0.0.1 "));
        c.w<QLineEdit>("Edit5")->setText(QString::number(c.simulator.Endpoints().tcpPort));
        c.click("Button18");
        QCOMPARE(c.panel(0), QStringLiteral("09:08:07  打开网口操作成功"));
        QCOMPARE(c.text("Edit17"), QStringLiteral("3A"));
        QCOMPARE(c.text("Edit18"), QStringLiteral("07.05"));
        QVERIFY(c.w("Btn_GetControllerParticInfo")->isEnabled());
        QVERIFY(c.w("Button_C_Get")->isEnabled());
        QVERIFY(c.w("Button19")->isEnabled());
        QCOMPARE(c.form->Fields().connection.PortHandle, int(c.simulator.Endpoints().tcpPort));
        QVERIFY(c.panel(2).startsWith(QStringLiteral("IF1: TCP")));

        c.click("Button19");
        QCOMPARE(c.form->Fields().connection.PortHandle, -1);
        QCOMPARE(c.text("Edit17"), QString());
        QVERIFY(!c.w("Btn_GetControllerInfo")->isEnabled());
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
        QVERIFY(c.prompter.messages.isEmpty());
    }

    void serialOpenOverPseudoTerminal() {
        SimConsole c;
        QVERIFY(c.Start({{QStringLiteral("version"), QStringLiteral("6.09")},
                         {QStringLiteral("mode"), QStringLiteral("eas")}}));
        c.form->PageControl2().setCurrentIndex(0);
        auto* ports = c.w<QComboBox>("ComboBox_Port");
        const int item = ports->findText(QStringLiteral("COM%1").arg(kSimCom));
        QVERIFY(item > 0);
        ports->setCurrentIndex(item);
        c.click("OpenPort");
        QCOMPARE(c.panel(0), QStringLiteral("09:08:07  打开端口操作成功"));
        QCOMPARE(c.panel(2), QStringLiteral("IF1: COM%1").arg(kSimCom));
        QCOMPARE(c.text("Edit18"), QStringLiteral("06.09"));
        QVERIFY(!c.w("Btn_GetControllerParticInfo")->isEnabled());
        QVERIFY(c.w("Button13")->isEnabled());
        QVERIFY(!c.w("Button_C_Get")->isEnabled());
        c.click("ClosePort");
        QCOMPARE(c.form->Fields().connection.PortHandle, -1);
        QVERIFY(c.w("OpenPort")->isEnabled());
    }

    void autoFindsTheSimulator() {
        SimConsole c;
        QVERIFY(c.Start({}));
        c.form->PageControl2().setCurrentIndex(0);
        c.w<QComboBox>("ComboBox_Port")->setCurrentIndex(0);
        c.click("OpenPort");
        QCOMPARE(c.form->Fields().connection.PortHandle, kSimCom);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: COM%1").arg(kSimCom));
        QCOMPARE(c.text("Edit17"), QStringLiteral("31"));
    }

    void wrongPortGivesTheCommunicationErrorBox() {
        SimConsole c;
        QVERIFY(c.Start({}));
        c.form->PageControl2().setCurrentIndex(1);
        c.w<QLineEdit>("Edit6")->setText(QStringLiteral("127.0.0.1"));
        // A loopback port nobody listens on: the connect is refused at once.
        c.w<QLineEdit>("Edit5")->setText(QStringLiteral("1"));
        c.click("Button18");
        QCOMPARE(c.prompter.messages.size(), 1);
        QVERIFY(c.prompter.messages[0].text.startsWith(QStringLiteral("通讯错误")));
        QCOMPARE(c.prompter.messages[0].caption, QStringLiteral("信息提示"));
        QCOMPARE(c.form->Fields().connection.PortHandle, -1);
        QCOMPARE(c.prompter.busyDepth, 0);
    }
};

QTEST_MAIN(TestConsoleConnectionSim)
#include "test_console_connection_sim.moc"
