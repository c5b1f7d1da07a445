#include "core/netcfg/exchanges.h"

#include "core/netcfg/module_protocol.h"
#include "core/netcfg/reply_slot.h"
#include "core/netcfg/udp_endpoint.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace netcfg {

WaitOutcome WaitHandlingEvents(const ReplySlot& slot, int windowMs,
                               const std::function<bool()>& done) {
    const QDeadlineTimer deadline(windowMs);
    for (;;) {
        QCoreApplication::processEvents();
        if (done()) {
            return WaitOutcome::Done;
        }
        if (deadline.hasExpired()) {
            return WaitOutcome::TimedOut;
        }
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&slot, &ReplySlot::Stored, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(deadline.remainingTime()));
        // Our quit() ends the loop with 0; an event loop that refuses to run returns -1, which
        // happens once the application has been told to quit.
        if (loop.exec() < 0) {
            return WaitOutcome::Quitting;
        }
    }
}

RequestOutcome AcknowledgedRequest(UdpEndpoint& endpoint, ReplySlot& slot,
                                   const QByteArray& datagram, int pauseMs, bool eventsBeforeWait,
                                   const AckTiming& timing,
                                   const std::function<void(const ReplySlot&)>& onReply,
                                   QString* error) {
    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        if (!endpoint.Send(datagram, error)) {
            return RequestOutcome::SendFailed;
        }
        // Only a datagram handled after this send counts.
        slot.LastReply.clear();
        if (pauseMs > 0) {
            QThread::msleep(static_cast<unsigned long>(pauseMs));
        }
        if (eventsBeforeWait) {
            QCoreApplication::processEvents();
        }
        const WaitOutcome waited = WaitHandlingEvents(
            slot, timing.windowMs, [&slot] { return IsAcknowledgement(slot.LastReply); });
        if (waited == WaitOutcome::Quitting) {
            return RequestOutcome::Quitting;
        }
        if (waited == WaitOutcome::Done) {
            onReply(slot);
            return RequestOutcome::Acknowledged;
        }
    }
    return RequestOutcome::Unanswered;
}

void TakeSearchReplyInto(ModuleSettings& settings, const QByteArray& datagram,
                         const QString& sender) {
    const SearchReply reply = ParseSearchReply(datagram);
    settings.Mac = reply.mac;
    settings.Ip = sender.toLatin1();
    settings.UserName = reply.userName;
    settings.DeviceName = reply.deviceName;
}

namespace {

std::function<void(const ReplySlot&)> ReplyHandler(const ReadStep& step, ModuleSettings& settings) {
    switch (step.handling) {
        case ReplyHandling::SearchReply:
            return [&settings](const ReplySlot& s) {
                TakeSearchReplyInto(settings, s.LastReply, s.LastReplySender);
            };
        case ReplyHandling::Parameter:
            return [&settings, p = step.parameter](const ReplySlot& s) {
                if (auto value = TakeParameterReply(s.LastReply, p->readNumber)) {
                    settings.*(p->field) = *value;
                }
            };
        case ReplyHandling::AcknowledgeOnly:
            break;
    }
    return [](const ReplySlot&) {};
}

}  // namespace

ExchangeResult RunReadExchange(UdpEndpoint& endpoint, ReplySlot& slot, ModuleSettings& settings,
                               const AckTiming& timing) {
    ExchangeResult result;
    for (const ReadStep& step : ReadExchangePlan()) {
        if (step.enableBroadcastFirst) {
            endpoint.EnableBroadcast();
        }
        const QByteArray datagram = step.namesModule ? NameCommand(settings.Mac) : step.datagram;
        ++result.requests;
        const RequestOutcome outcome =
            AcknowledgedRequest(endpoint, slot, datagram, step.pauseMs, step.eventsBeforeWait,
                                timing, ReplyHandler(step, settings), &result.error);
        if (outcome == RequestOutcome::SendFailed) {
            result.sent = false;
            return result;
        }
        if (outcome == RequestOutcome::Quitting) {
            result.abandoned = true;
            return result;
        }
        result.acknowledged += outcome == RequestOutcome::Acknowledged ? 1 : 0;
    }
    return result;
}

ExchangeResult RunFlash(UdpEndpoint& endpoint, ReplySlot& slot, ModuleSettings& settings,
                        const ModuleTarget& target, const AckTiming& timing) {
    ExchangeResult result;
    endpoint.SetDestination(target.broadcastAddress, target.port);
    endpoint.EnableBroadcast();
    result.requests = 1;
    const RequestOutcome outcome = AcknowledgedRequest(
        endpoint, slot, FlashCommand(), 0, false, timing,
        [&settings](const ReplySlot& s) {
            TakeSearchReplyInto(settings, s.LastReply, s.LastReplySender);
        },
        &result.error);
    result.sent = outcome != RequestOutcome::SendFailed;
    result.abandoned = outcome == RequestOutcome::Quitting;
    result.acknowledged = outcome == RequestOutcome::Acknowledged ? 1 : 0;
    return result;
}

ExchangeResult RunBursts(UdpEndpoint& endpoint, const QList<Burst>& bursts,
                         const ModuleTarget& target) {
    ExchangeResult result;
    for (const Burst& burst : bursts) {
        if (burst.broadcast) {
            endpoint.EnableBroadcast();
            endpoint.SetDestination(target.broadcastAddress, target.port);
        } else {
            endpoint.SetDestination(burst.destination, target.port);
        }
        for (const BurstItem& item : burst.items) {
            ++result.requests;
            if (!endpoint.Send(item.datagram, &result.error)) {
                result.sent = false;
                return result;
            }
            if (item.pauseMs > 0) {
                QThread::msleep(static_cast<unsigned long>(item.pauseMs));
            }
        }
    }
    return result;
}

}  // namespace netcfg
