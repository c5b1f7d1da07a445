#pragma once

#include "core/netcfg/reply_slot.h"
#include "core/netcfg/udp_endpoint.h"

#include <QObject>

class QLineEdit;

namespace forms {
class TChangeIPdlg;
}

namespace gui {
class Prompter;
}

namespace netcfg {

class ModuleListView;
class NetcfgSession;

// The change-IP dialog (ChangeIPdlg): sends only the new address to the selected module.
class ChangeIpController final : public QObject {
    Q_OBJECT
public:
    ChangeIpController(forms::TChangeIPdlg& dialog, NetcfgSession& session,
                       const ModuleListView& list, gui::Prompter& prompter,
                       QObject* parent = nullptr);

    void Button1Click();  // change the address
    void Button2Click();  // close

private:
    forms::TChangeIPdlg& dialog_;
    QLineEdit& entry_;
    NetcfgSession& session_;
    const ModuleListView& list_;
    gui::Prompter& prompter_;
    UdpEndpoint endpoint_;  // ChangeIpEndpoint
    ReplySlot reply_;       // filled by its receive handler, read by nothing
};

}  // namespace netcfg
