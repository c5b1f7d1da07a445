#pragma once

#include "core/netcfg/netcfg_session.h"

#include <QObject>

class QWidget;

namespace Ui {
class PageTcpip;
}
namespace forms {
class TChangeIPdlg;
class TfNhSetDlg;
class TfPhSetDlg;
class TfSetdlg;
class TlocateForm;
}  // namespace forms

namespace gui {
class Prompter;
}

namespace netcfg {

class ChangeIpController;
class LocateController;
class ModuleListView;
class PropertiesController;

// The "TCPIP配置" page with its module list and the four dialogs it opens. Owns the session
// (endpoints, LastReply, module list, ModuleSettings) for the main window's lifetime.
class NetcfgController final : public QObject {
    Q_OBJECT
public:
    struct Windows {
        QWidget& mainWindow;
        Ui::PageTcpip& page;
        forms::TlocateForm& locate;
        forms::TfSetdlg& properties;
        forms::TfNhSetDlg& networkAdvanced;
        forms::TfPhSetDlg& serialAdvanced;
        forms::TChangeIPdlg& changeIp;
    };
    NetcfgController(Windows windows, gui::Prompter& prompter, QObject* parent = nullptr);
    ~NetcfgController() override;

    NetcfgSession& Session() { return session_; }
    LocateController& Locate() { return *locate_; }

    void Button20Click();  // broadcast search
    void Button21Click();  // show the locate dialog
    void Button23Click();  // show the change-IP dialog
    void Button24Click();  // flash

private:
    Windows w_;
    gui::Prompter& prompter_;
    NetcfgSession session_;
    ModuleListView* list_;
    LocateController* locate_;
    PropertiesController* properties_;
    ChangeIpController* changeIp_;
};

}  // namespace netcfg
