#pragma once

#include "core/netcfg/conversations.h"
#include "core/netcfg/module_settings.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <functional>

namespace netcfg {

class ReplySlot;
class UdpEndpoint;

// Attempts of an acknowledged request and the window of each; tests shorten the window.
struct AckTiming {
    int windowMs = 1000;
    int attempts = 3;
};

// Where the commands go: the broadcast address and the module port are fixed for the operator
// but injectable, so that loopback tests never send onto a real network. The endpoints bind to
// localAddress (any IPv4 address; a test names one that is not on the host to see a bind fail).
struct ModuleTarget {
    QString broadcastAddress = QStringLiteral("255.255.255.255");
    quint16 port = 65535;
    QHostAddress localAddress = QHostAddress(QHostAddress::AnyIPv4);
};

enum class WaitOutcome { Done, TimedOut, Quitting };

// Handles pending events until done() holds or windowMs have passed, sleeping in an event loop
// between deliveries instead of spinning. Once the application is quitting no event loop runs
// any more (each returns at once), so the wait ends at once with Quitting instead of spinning
// until its window runs out.
WaitOutcome WaitHandlingEvents(const ReplySlot& slot, int windowMs,
                               const std::function<bool()>& done);

// Quitting: the application is ending and the request was given up with its conversation.
enum class RequestOutcome { Acknowledged, Unanswered, SendFailed, Quitting };

// One acknowledged request on the endpoint's current destination: up to timing.attempts sends,
// LastReply cleared right after each, the pause slept, then a window in which the first reply
// beginning with "A" is handed to onReply and ends the request.
RequestOutcome AcknowledgedRequest(UdpEndpoint& endpoint, ReplySlot& slot,
                                   const QByteArray& datagram, int pauseMs, bool eventsBeforeWait,
                                   const AckTiming& timing,
                                   const std::function<void(const ReplySlot&)>& onReply,
                                   QString* error);

// What an exchange ended with: sent is false when a send was rejected (error names why);
// abandoned is true when the application began to quit during a wait and the exchange stopped
// there (its caller shows nothing more).
struct ExchangeResult {
    bool sent = true;
    bool abandoned = false;
    QString error;
    int acknowledged = 0;
    int requests = 0;
};

// The read exchange to the endpoint's current destination, filling settings from the replies.
ExchangeResult RunReadExchange(UdpEndpoint& endpoint, ReplySlot& slot, ModuleSettings& settings,
                               const AckTiming& timing);

// Flash: "B" by broadcast as an acknowledged request; the first reply fills Mac, Ip and names.
ExchangeResult RunFlash(UdpEndpoint& endpoint, ReplySlot& slot, ModuleSettings& settings,
                        const ModuleTarget& target, const AckTiming& timing);

// Timed bursts in order, each to its destination; sleeps block the calling thread.
ExchangeResult RunBursts(UdpEndpoint& endpoint, const QList<Burst>& bursts,
                         const ModuleTarget& target);

// Applies a search reply (acknowledgement of "X" or "B") to settings.
void TakeSearchReplyInto(ModuleSettings& settings, const QByteArray& datagram,
                         const QString& sender);

}  // namespace netcfg
