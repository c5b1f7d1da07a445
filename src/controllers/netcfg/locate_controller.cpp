#include "controllers/netcfg/locate_controller.h"

#include "controllers/netcfg/address_entry.h"
#include "controllers/netcfg/netcfg_messages.h"
#include "core/netcfg/ipv4_text.h"
#include "core/netcfg/module_protocol.h"
#include "core/netcfg/netcfg_session.h"
#include "forms/secondary_windows.h"
#include "ui_locate_form.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace netcfg {

LocateController::LocateController(forms::TlocateForm& dialog, NetcfgSession& session,
                                   gui::Prompter& prompter, QObject* parent)
    : QObject(parent),
      dialog_(dialog),
      entry_(*dialog.ui().MaskEdit1),
      session_(session),
      prompter_(prompter) {
    WatchAddressEntry(entry_, prompter_);
    connect(dialog.ui().Button1, &QPushButton::clicked, this, &LocateController::Button1Click);
    connect(dialog.ui().Button2, &QPushButton::clicked, this, &LocateController::Button2Click);
    connect(&endpoint_, &UdpEndpoint::DatagramReceived, &reply_, &ReplySlot::Store);
}

void LocateController::Button1Click() {
    const QString compactIp = CompactIp(entry_.displayText());
    if (HasEmptyMiddleField(compactIp)) {
        Warn(prompter_, InvalidIpText());
        return;
    }
    session_.ClearRows();
    if (!endpoint_.Open(session_.Target().localAddress)) {
        ReportPortConflict(prompter_);
    }
    endpoint_.SetDestination(compactIp, session_.Target().port);
    endpoint_.EnableBroadcast();
    QString error;
    if (!endpoint_.Send(IdentifyCommand(), &error)) {
        ReportSendFailure(prompter_, error);
        return;
    }
    reply_.Clear();
    const WaitOutcome waited = WaitHandlingEvents(reply_, session_.Timing().windowMs, [&] {
        return !reply_.LastReply.isEmpty() && reply_.LastReplySender == compactIp;
    });
    if (waited == WaitOutcome::Quitting) {
        return;
    }
    const bool matched = waited == WaitOutcome::Done;
    if (matched && !IsAcknowledgement(reply_.LastReply)) {
        lastRefusal_ = RefusalText(reply_.LastReply, util::TextTable::Display());
        return;
    }
    if (matched) {
        session_.AppendLocatedRow(reply_.LastReply, reply_.LastReplySender);
    }
    dialog_.close();
}

void LocateController::Button2Click() {
    dialog_.close();
}

}  // namespace netcfg
