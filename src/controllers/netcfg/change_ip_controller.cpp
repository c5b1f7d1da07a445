#include "controllers/netcfg/change_ip_controller.h"

#include "controllers/netcfg/address_entry.h"
#include "controllers/netcfg/module_list_view.h"
#include "controllers/netcfg/netcfg_messages.h"
#include "core/netcfg/conversations.h"
#include "core/netcfg/ipv4_text.h"
#include "core/netcfg/netcfg_session.h"
#include "forms/secondary_windows.h"
#include "ui_change_ip_dlg.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace netcfg {

ChangeIpController::ChangeIpController(forms::TChangeIPdlg& dialog, NetcfgSession& session,
                                       const ModuleListView& list, gui::Prompter& prompter,
                                       QObject* parent)
    : QObject(parent),
      dialog_(dialog),
      entry_(*dialog.ui().MaskEdit1),
      session_(session),
      list_(list),
      prompter_(prompter) {
    WatchAddressEntry(entry_, prompter_);
    connect(dialog.ui().Button1, &QPushButton::clicked, this, &ChangeIpController::Button1Click);
    connect(dialog.ui().Button2, &QPushButton::clicked, this, &ChangeIpController::Button2Click);
    connect(&endpoint_, &UdpEndpoint::DatagramReceived, &reply_, [this](auto& d, auto& s) {
        reply_.Clear();
        reply_.Store(d, s);
    });
}

void ChangeIpController::Button1Click() {
    // The row selected at the moment of OK counts.
    const std::optional<ModuleRow> row = list_.SelectedModule(prompter_);
    if (!row) {
        return;
    }
    const QString compactIp = CompactIp(entry_.displayText());
    if (HasEmptyMiddleField(compactIp)) {
        Warn(prompter_, InvalidIpText());
        return;
    }
    if (!endpoint_.Open(session_.Target().localAddress)) {
        ReportPortConflict(prompter_);
    }
    const ExchangeResult result =
        RunBursts(endpoint_, ChangeIpExchangePlan(row->ip, row->mac, compactIp.toLatin1()),
                  session_.Target());
    if (!result.sent) {
        ReportSendFailure(prompter_, result.error);
        return;
    }
    session_.ClearRows();
    dialog_.close();
}

void ChangeIpController::Button2Click() {
    dialog_.close();
}

}  // namespace netcfg
