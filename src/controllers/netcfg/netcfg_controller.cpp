#include "controllers/netcfg/netcfg_controller.h"

#include "controllers/netcfg/change_ip_controller.h"
#include "controllers/netcfg/locate_controller.h"
#include "controllers/netcfg/module_list_view.h"
#include "controllers/netcfg/netcfg_messages.h"
#include "controllers/netcfg/properties_controller.h"
#include "forms/secondary_windows.h"
#include "ui_page_tcpip.h"

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>

namespace netcfg {

NetcfgController::NetcfgController(Windows windows, gui::Prompter& prompter, QObject* parent)
    : QObject(parent),
      w_(windows),
      prompter_(prompter),
      list_(new ModuleListView(*w_.page.ListView1, session_, this)),
      locate_(new LocateController(w_.locate, session_, prompter_, this)),
      properties_(new PropertiesController(
          {w_.mainWindow, w_.properties, w_.networkAdvanced, w_.serialAdvanced}, session_, *list_,
          prompter_, this)),
      changeIp_(new ChangeIpController(w_.changeIp, session_, *list_, prompter_, this)) {
    connect(w_.page.Button20, &QPushButton::clicked, this, &NetcfgController::Button20Click);
    connect(w_.page.Button21, &QPushButton::clicked, this, &NetcfgController::Button21Click);
    connect(w_.page.Button22, &QPushButton::clicked, properties_,
            &PropertiesController::Button22Click);
    connect(w_.page.Button23, &QPushButton::clicked, this, &NetcfgController::Button23Click);
    connect(w_.page.Button24, &QPushButton::clicked, this, &NetcfgController::Button24Click);
}

NetcfgController::~NetcfgController() = default;

void NetcfgController::Button20Click() {
    const ExchangeResult result = session_.Search([this] { ReportPortConflict(prompter_); });
    if (!result.sent) {
        ReportSendFailure(prompter_, result.error);
    }
}

void NetcfgController::Button21Click() {
    w_.locate.show();
}

void NetcfgController::Button23Click() {
    w_.changeIp.show();
}

void NetcfgController::Button24Click() {
    const std::optional<ModuleRow> row = list_->SelectedModule(prompter_);
    if (!row) {
        return;
    }
    session_.Settings().Ip = row->ip.toLatin1();
    session_.Settings().Mac = row->mac;
    if (!session_.OpenConfigEndpoint()) {
        ReportPortConflict(prompter_);
    }
    const ExchangeResult result =
        RunFlash(session_.ConfigEndpoint(), session_.Reply(), session_.Settings(),
                 session_.Target(), session_.Timing());
    if (!result.sent) {
        ReportSendFailure(prompter_, result.error);
    }
}

}  // namespace netcfg
