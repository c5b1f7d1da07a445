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

namespace gui {
class GateStatusBar;
}
namespace forms {
class TForm3;
class TfSetdlg;
class TChangeIPdlg;
class TlocateForm;
class TfNhSetDlg;
class TfPhSetDlg;
}  // namespace forms

namespace app {

// The main window "Form1": the five pages of PageControl1, the status bar, the three timers and
// the fields shared by the subsystems. Creating it creates the six secondary windows after it,
// hidden. Behaviour comes from the controllers (InstallControllers); the window itself only
// holds its controls.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    gui::FormFields& Fields() { return fields_; }
    gui::GateStatusBar& StatusBar() { return *statusBar_; }

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

    forms::TForm3& Form3() { return *form3_; }
    forms::TfSetdlg& fSetdlg() { return *fSetdlg_; }
    forms::TChangeIPdlg& ChangeIPdlg() { return *changeIPdlg_; }
    forms::TlocateForm& locateForm() { return *locateForm_; }
    forms::TfNhSetDlg& fNhSetDlg() { return *fNhSetDlg_; }
    forms::TfPhSetDlg& fPhSetDlg() { return *fPhSetDlg_; }

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
    gui::FormFields fields_;
    gate::ComPortTable comPorts_;
    gui::GateStatusBar* statusBar_;
    QTimer* timer1_;
    QTimer* timer2_;
    QTimer* timer3_;
    std::unique_ptr<forms::TForm3> form3_;
    std::unique_ptr<forms::TfSetdlg> fSetdlg_;
    std::unique_ptr<forms::TChangeIPdlg> changeIPdlg_;
    std::unique_ptr<forms::TlocateForm> locateForm_;
    std::unique_ptr<forms::TfNhSetDlg> fNhSetDlg_;
    std::unique_ptr<forms::TfPhSetDlg> fPhSetDlg_;
};

}  // namespace app
