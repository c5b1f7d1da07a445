#include "core/netcfg/conversations.h"

#include "core/netcfg/module_protocol.h"

namespace netcfg {

QList<ReadStep> ReadExchangePlan() {
    QList<ReadStep> plan;
    plan.append({IdentifyCommand(), false, false, 0, false, ReplyHandling::SearchReply, nullptr});
    plan.append({QByteArray(), true, true, 100, true, ReplyHandling::AcknowledgeOnly, nullptr});
    plan.append({OpenCommand(), false, false, 50, true, ReplyHandling::AcknowledgeOnly, nullptr});
    for (const ParameterCode& p : ParameterCodes()) {
        ReadStep step{QueryCommand(p), false, false, 0, false, ReplyHandling::Parameter, &p};
        if (p.readNumber == 1) {
            step.pauseMs = 10;
        } else if (p.readNumber <= 4) {
            step.pauseMs = 50;
        } else {
            step.eventsBeforeWait = true;
        }
        plan.append(step);
    }
    return plan;
}

QList<QByteArray> SetCommands(const ModuleSettings& settings) {
    QList<QByteArray> sets;
    for (const ParameterCode* p : WritableParametersInWriteOrder()) {
        sets.append(SetCommand(p->code, settings.*(p->field), p->writeNumber));
    }
    return sets;
}

QList<Burst> WriteExchangePlan(const ModuleSettings& settings, const QString& listedIp) {
    const QList<QByteArray> sets = SetCommands(settings);
    Burst direct{false, listedIp, {{OpenCommand(), 50}}};
    Burst broadcast{
        true, QString(), {{NameCommand(settings.Mac), 100}, {OpenCommand(settings.Mac), 50}}};
    for (const QByteArray& set : sets) {
        direct.items.append({set, 10});
        broadcast.items.append({set, 10});
    }
    direct.items.append({EndCommand(), 500});
    broadcast.items.append({EndCommand(), 10});
    return {direct, broadcast};
}

QList<Burst> ChangeIpExchangePlan(const QString& listedIp, QByteArrayView mac,
                                  QByteArrayView newIp) {
    const QByteArray setIp = SetCommand("IP", newIp, 34);
    return {
        Burst{false,
              listedIp,
              {{IdentifyCommand(), 100},
               {OpenCommand(), 50},
               {setIp, 10},
               {EndChangeIpCommand(), 200}}},
        Burst{true,
              QString(),
              {{NameCommand(mac), 100},
               {OpenCommand(), 50},
               {setIp, 100},
               {EndChangeIpCommand(), 0}}},
    };
}

int TotalPauseMs(const QList<ReadStep>& plan) {
    int sum = 0;
    for (const ReadStep& s : plan) {
        sum += s.pauseMs;
    }
    return sum;
}

int TotalPauseMs(const QList<Burst>& plan) {
    int sum = 0;
    for (const Burst& b : plan) {
        for (const BurstItem& i : b.items) {
            sum += i.pauseMs;
        }
    }
    return sum;
}

}  // namespace netcfg
