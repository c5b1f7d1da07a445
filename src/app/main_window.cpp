#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTimer>

#include "forms/secondary_windows.h"
#include "gui/status_bar.h"
#include "ui_form1.h"
#include "ui_page_alarm.h"
#include "ui_page_channel.h"
#include "ui_page_command.h"
#include "ui_page_eas.h"
#include "ui_page_tcpip.h"

namespace app {

namespace {

template <typename PageUi>
void AddPage(QTabWidget& tabs, PageUi& pageUi) {
    auto* page = new QWidget(&tabs);
    pageUi.setupUi(page);
    tabs.addTab(page, page->windowTitle());
}

QTimer* MakeTimer(QObject* owner, const char* name, int intervalMs) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

constexpr int kClientWidth = 818;
constexpr int kClientHeight = 691;

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TForm1>()),
      pageCommand_(std::make_unique<Ui::PageCommand>()),
      pageChannel_(std::make_unique<Ui::PageChannel>()),
      pageEas_(std::make_unique<Ui::PageEas>()),
      pageAlarm_(std::make_unique<Ui::PageAlarm>()),
      pageTcpip_(std::make_unique<Ui::PageTcpip>()),
      statusBar_(new gui::GateStatusBar(this)),
      timer1_(MakeTimer(this, "Timer1", 50)),
      timer2_(MakeTimer(this, "Timer2", 1000)),
      timer3_(MakeTimer(this, "Timer3", 50)) {
    ui_->setupUi(this);
    AddPage(*ui_->PageControl1, *pageCommand_);
    AddPage(*ui_->PageControl1, *pageChannel_);
    AddPage(*ui_->PageControl1, *pageEas_);
    AddPage(*ui_->PageControl1, *pageAlarm_);
    AddPage(*ui_->PageControl1, *pageTcpip_);
    ui_->PageControl1->setCurrentIndex(0);
    setStatusBar(statusBar_);

    // The module list: row number, MAC, IP, user/device name.
    QTableWidget* modules = pageTcpip_->ListView1;
    modules->verticalHeader()->hide();
    const int widths[] = {60, 180, 180, 180};
    for (int c = 0; c < 4; ++c) {
        modules->setColumnWidth(c, widths[c]);
    }

    // Single fixed border with the system menu and the minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The client area holds the pages and the status bar.
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // The secondary windows follow the main window, in their fixed order.
    form3_ = std::make_unique<forms::TForm3>();
    fSetdlg_ = std::make_unique<forms::TfSetdlg>();
    changeIPdlg_ = std::make_unique<forms::TChangeIPdlg>();
    locateForm_ = std::make_unique<forms::TlocateForm>();
    fNhSetDlg_ = std::make_unique<forms::TfNhSetDlg>();
    fPhSetDlg_ = std::make_unique<forms::TfPhSetDlg>();
}

TForm1::~TForm1() = default;

QTabWidget& TForm1::PageControl1() {
    return *ui_->PageControl1;
}

QTabWidget& TForm1::PageControl2() {
    return *pageCommand_->PageControl2;
}

void TForm1::closeEvent(QCloseEvent* event) {
    Q_EMIT CloseQuery();
    event->accept();
    // The secondary windows have no parent: left to itself, the process would run on behind an
    // open "数据" or properties window, still holding the controller link and the IF2 port.
    // Closing the main window ends the application whatever else is open; queued, so that this
    // close completes first. Quitting closes the other windows and makes every nested event
    // loop (a module wait, a message box) return at once.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

}  // namespace app
