#pragma once

#include "core/netcfg/module_settings.h"
#include "core/netcfg/parameter_codes.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace netcfg {

// How a step of the read exchange takes its acknowledgement.
enum class ReplyHandling {
    SearchReply,  // parse into Mac, Ip (the sender), UserName and DeviceName
    AcknowledgeOnly,
    Parameter,  // store the value in the setting's field when the numbers match
};

// One acknowledged request of the read exchange.
struct ReadStep {
    QByteArray datagram;  // empty for the naming step, which sends "W" + the current Mac
    bool namesModule = false;
    bool enableBroadcastFirst = false;
    int pauseMs = 0;
    bool eventsBeforeWait = false;  // events handled once after the pause, before the wait
    ReplyHandling handling = ReplyHandling::AcknowledgeOnly;
    const ParameterCode* parameter = nullptr;
};

// The 24 requests of the read exchange, in order.
QList<ReadStep> ReadExchangePlan();

// A timed burst: datagrams sent one after another with a sleep after each, no replies read.
struct BurstItem {
    QByteArray datagram;
    int pauseMs = 0;
    bool operator==(const BurstItem&) const = default;
};
struct Burst {
    bool broadcast = false;  // to the broadcast address, with broadcast enabled first
    QString destination;     // the unicast destination when not broadcast
    QList<BurstItem> items;
};

// The 20 set commands with the values of settings, in write-number order.
QList<QByteArray> SetCommands(const ModuleSettings& settings);

// The write exchange: pass 1 to the listed address, pass 2 by broadcast naming the MAC.
QList<Burst> WriteExchangePlan(const ModuleSettings& settings, const QString& listedIp);

// The change-IP exchange: only the address, with its own numbers 34 and 35.
QList<Burst> ChangeIpExchangePlan(const QString& listedIp, QByteArrayView mac,
                                  QByteArrayView newIp);

// Sum of the pauses of a plan.
int TotalPauseMs(const QList<ReadStep>& plan);
int TotalPauseMs(const QList<Burst>& plan);

}  // namespace netcfg
