#pragma once

#include <QMainWindow>

#include <memory>

#include "gate/com_port_table.h"
#include "gui/form_fields.h"

class QTimer;
class QTabWidget;

namespace Ui {
class TForm1;
class PageCommand;
class PageChannel;
class PageEas;
class PageAlarm;
class PageTcpip;
}  // namespace Ui

namespace app {

class GateStatusBar;
class TForm3;
class TfSetdlg;
class TChangeIPdlg;
class TlocateForm;
class TfNhSetDlg;
class TfPhSetDlg;

// The main window "Form1": the five pages of PageControl1, the status bar, the three timers and
// the fields shared by the subsystems. Creating it creates the six secondary windows after it,
// hidden. Behaviour comes from the controllers (InstallControllers); the window itself only
// holds its controls.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    FormFields& Fields() { return fields_; }
    GateStatusBar& StatusBar() { return *statusBar_; }

    // Timer1: channel-mode poll (50 ms); Timer2: IF2 read (1000 ms); Timer3: EAS poll (50 ms).
    QTimer& Timer1() { return *timer1_; }
    QTimer& Timer2() { return *timer2_; }
    QTimer& Timer3() { return *timer3_; }

    QTabWidget& PageControl1();
    QTabWidget& PageControl2();

    // The serial ports the console offers (COM numbers and their devices); set before the
    // controllers are installed. Empty by default: no port but "Auto".
    void SetComPorts(gate::ComPortTable table) { comPorts_ = std::move(table); }
    const gate::ComPortTable& ComPorts() const { return comPorts_; }

    TForm3& Form3() { return *form3_; }
    TfSetdlg& fSetdlg() { return *fSetdlg_; }
    TChangeIPdlg& ChangeIPdlg() { return *changeIPdlg_; }
    TlocateForm& locateForm() { return *locateForm_; }
    TfNhSetDlg& fNhSetDlg() { return *fNhSetDlg_; }
    TfPhSetDlg& fPhSetDlg() { return *fPhSetDlg_; }

    Ui::PageCommand& CommandPage() { return *pageCommand_; }
    Ui::PageChannel& ChannelPage() { return *pageChannel_; }
    Ui::PageEas& EasPage() { return *pageEas_; }
    Ui::PageAlarm& AlarmPage() { return *pageAlarm_; }
    Ui::PageTcpip& TcpipPage() { return *pageTcpip_; }

Q_SIGNALS:
    // The window was asked to close (FormCloseQuery); closing is always allowed afterwards.
    void CloseQuery();
    // Enter was pressed in Edit31; connected handlers run before the key is refused.
    void Edit31EnterPressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TForm1> ui_;
    std::unique_ptr<Ui::PageCommand> pageCommand_;
    std::unique_ptr<Ui::PageChannel> pageChannel_;
    std::unique_ptr<Ui::PageEas> pageEas_;
    std::unique_ptr<Ui::PageAlarm> pageAlarm_;
    std::unique_ptr<Ui::PageTcpip> pageTcpip_;
    FormFields fields_;
    gate::ComPortTable comPorts_;
    GateStatusBar* statusBar_;
    QTimer* timer1_;
    QTimer* timer2_;
    QTimer* timer3_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TfSetdlg> fSetdlg_;
    std::unique_ptr<TChangeIPdlg> changeIPdlg_;
    std::unique_ptr<TlocateForm> locateForm_;
    std::unique_ptr<TfNhSetDlg> fNhSetDlg_;
    std::unique_ptr<TfPhSetDlg> fPhSetDlg_;
};

}  // namespace app
