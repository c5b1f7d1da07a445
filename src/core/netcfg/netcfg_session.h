#pragma once

#include "core/netcfg/exchanges.h"
#include "core/netcfg/module_rows.h"
#include "core/netcfg/module_settings.h"
#include "core/netcfg/reply_slot.h"
#include "core/netcfg/udp_endpoint.h"

#include <QObject>

#include <functional>

namespace netcfg {

// What the main window keeps of the module configuration for its whole run: the search and
// configuration endpoints, the shared LastReply slot, the module list and ModuleSettings.
class NetcfgSession final : public QObject {
    Q_OBJECT
public:
    explicit NetcfgSession(QObject* parent = nullptr);

    UdpEndpoint& SearchEndpoint() { return search_; }
    UdpEndpoint& ConfigEndpoint() { return config_; }
    ReplySlot& Reply() { return reply_; }
    ModuleSettings& Settings() { return settings_; }
    ModuleRows& Rows() { return rows_; }
    ModuleTarget& Target() { return target_; }
    AckTiming& Timing() { return timing_; }

    // Opens the configuration endpoint (broadcast enabled when opened); false on failure.
    bool OpenConfigEndpoint();

    // Broadcast search: empties the list, opens the search endpoint, sends "X" once; replies
    // come in as they arrive. When the endpoint cannot be opened, reportOpenFailure runs before
    // anything is sent, and the send goes on regardless.
    ExchangeResult Search(const std::function<void()>& reportOpenFailure);

    // Appends a row for a directed-search reply, without duplicate test or settings update.
    void AppendLocatedRow(const QByteArray& datagram, const QString& sender);

    void ClearRows();

    // Last refusal text that a search reply carried (looked up, not shown).
    const QString& LastRefusalText() const { return lastRefusal_; }

Q_SIGNALS:
    void RowAdded(const netcfg::ModuleRow& row);
    void RowsCleared();

private:
    void HandleSearchDatagram(const QByteArray& datagram, const QString& sender);

    UdpEndpoint search_;
    UdpEndpoint config_;
    ReplySlot reply_;
    ModuleSettings settings_;
    ModuleRows rows_;
    ModuleTarget target_;
    AckTiming timing_;
    QString lastRefusal_;
};

}  // namespace netcfg
