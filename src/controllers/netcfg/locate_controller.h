#pragma once

#include "core/netcfg/reply_slot.h"
#include "core/netcfg/udp_endpoint.h"

#include <QObject>

class QLineEdit;

namespace forms {
class TlocateForm;
}

namespace gui {
class Prompter;
}

namespace netcfg {

class NetcfgSession;

// The locate dialog (locateForm): directed search of one module by its address.
class LocateController final : public QObject {
    Q_OBJECT
public:
    LocateController(forms::TlocateForm& dialog, NetcfgSession& session, gui::Prompter& prompter,
                     QObject* parent = nullptr);

    void Button1Click();  // directed search
    void Button2Click();  // close

    // Kind text of the last refusal a directed search met (looked up, not shown).
    const QString& LastRefusalText() const { return lastRefusal_; }

private:
    forms::TlocateForm& dialog_;
    QLineEdit& entry_;
    NetcfgSession& session_;
    gui::Prompter& prompter_;
    UdpEndpoint endpoint_;  // LocateEndpoint
    ReplySlot reply_;
    QString lastRefusal_;
};

}  // namespace netcfg
