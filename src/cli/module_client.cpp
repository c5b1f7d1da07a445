#include "cli/module_client.h"

#include "core/netcfg/exchanges.h"
#include "core/netcfg/ipv4_text.h"
#include "core/netcfg/module_protocol.h"
#include "core/netcfg/module_rows.h"
#include "core/netcfg/properties_values.h"
#include "core/netcfg/udp_endpoint.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>

namespace cli {

namespace {

const QCommandLineOption kBroadcast(
    QStringLiteral("broadcast"),
    QStringLiteral("Broadcast address for the search and for the second pass of a write (no "
                   "broadcast without it, except that search defaults to 255.255.255.255)."),
    QStringLiteral("ADDR"));
const QCommandLineOption kPort(QStringLiteral("port"),
                               QStringLiteral("UDP port of the modules (default 65535)."),
                               QStringLiteral("N"), QStringLiteral("65535"));
const QCommandLineOption kWait(QStringLiteral("wait"),
                               QStringLiteral("How long to listen for answers (default 1000)."),
                               QStringLiteral("MS"), QStringLiteral("1000"));

const QString kDefaultBroadcast = QStringLiteral("255.255.255.255");

}  // namespace

std::optional<QString> CanonicalIpv4(const QString& text) {
    const auto address = netcfg::ParseDottedIpv4(text);
    if (!address) {
        return std::nullopt;
    }
    return QHostAddress(*address).toString();
}

void AddModuleOptions(CommandLine& cl, bool search) {
    cl.AddOption(kBroadcast);
    cl.AddOption(kPort);
    if (search) {
        cl.AddOption(kWait);
    }
}

std::variant<ModuleOptions, Failure> ReadModuleOptions(const CommandLine& cl, bool search) {
    ModuleOptions o;
    const QString broadcast =
        cl.IsSet(kBroadcast) ? cl.Value(kBroadcast) : (search ? kDefaultBroadcast : QString());
    if (!broadcast.isEmpty()) {
        const auto canonical = CanonicalIpv4(broadcast);
        if (!canonical) {
            return UsageFailure(
                QStringLiteral("--broadcast %1: expected a dotted IPv4 address").arg(broadcast));
        }
        o.broadcast = *canonical;
    }
    bool ok = false;
    const uint port = cl.Value(kPort).toUInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        return UsageFailure(
            QStringLiteral("--port %1: expected a port from 1 to 65535").arg(cl.Value(kPort)));
    }
    o.port = static_cast<quint16>(port);
    if (search) {
        const int wait = cl.Value(kWait).toInt(&ok);
        if (!ok || wait < 1 || wait > 600000) {
            return UsageFailure(QStringLiteral("--wait %1: expected milliseconds from 1 to 600000")
                                    .arg(cl.Value(kWait)));
        }
        o.waitMs = wait;
    }
    return o;
}

std::variant<ModuleName, Failure> ParseModuleName(const QString& text,
                                                  const ModuleOptions& options) {
    if (const auto ip = CanonicalIpv4(text)) {
        return ModuleName{*ip, {}};
    }
    static const QRegularExpression mac(
        QStringLiteral("^[0-9A-Fa-f]{2}([-:][0-9A-Fa-f]{2}){5}$|^[0-9A-Fa-f]{12}$"));
    if (!mac.match(text).hasMatch()) {
        return UsageFailure(
            QStringLiteral("\"%1\" is neither an IPv4 address nor a MAC address").arg(text));
    }
    if (options.broadcast.isEmpty()) {
        return UsageFailure(QStringLiteral("finding the module %1 by its MAC needs a search: "
                                           "give --broadcast ADDR, or its IP address")
                                .arg(text));
    }
    return ModuleName{{}, text.toLatin1()};
}

ModuleClient::ModuleClient(ModuleOptions options) : options_(std::move(options)) {
    session_.Target().port = options_.port;
    if (!options_.broadcast.isEmpty()) {
        session_.Target().broadcastAddress = options_.broadcast;
    }
}

std::optional<Failure> ModuleClient::Open() {
    if (!session_.OpenConfigEndpoint()) {
        return CommunicationFailure(
            QStringLiteral("服务端口冲突！ (no UDP port for the module protocol)"));
    }
    return std::nullopt;
}

std::variant<QList<FoundModule>, Failure> ModuleClient::Search() {
    netcfg::UdpEndpoint endpoint;
    if (!endpoint.Open()) {
        return CommunicationFailure(
            QStringLiteral("服务端口冲突！ (no UDP port for the module protocol)"));
    }
    netcfg::ModuleRows rows;  // keyed by MAC and bounded, as the module list
    QList<FoundModule> found;
    QObject::connect(&endpoint, &netcfg::UdpEndpoint::DatagramReceived, &endpoint,
                     [&](const QByteArray& datagram, const QString& sender) {
                         if (!netcfg::IsAcknowledgement(datagram) || rows.Full()) {
                             return;
                         }
                         const netcfg::SearchReply reply = netcfg::ParseSearchReply(datagram);
                         if (rows.ContainsMac(reply.mac)) {
                             return;
                         }
                         rows.Append(datagram, sender);
                         found.append({reply.mac, sender, reply.userName, reply.deviceName});
                     });
    endpoint.EnableBroadcast();
    endpoint.SetDestination(options_.broadcast, options_.port);
    QString error;
    if (!endpoint.Send(netcfg::IdentifyCommand(), &error)) {
        return CommunicationFailure(error);
    }
    // Listen for the whole wait: replies are taken as they are handled, none ends it early.
    netcfg::ReplySlot listening;
    netcfg::WaitHandlingEvents(listening, options_.waitMs, [] { return false; });
    return found;
}

std::variant<FoundModule, Failure> ModuleClient::Identify(const QString& ip) {
    if (auto failure = Open()) {
        return *failure;
    }
    netcfg::UdpEndpoint& endpoint = session_.ConfigEndpoint();
    endpoint.SetDestination(ip, options_.port);
    FoundModule module;
    QString error;
    const netcfg::RequestOutcome outcome = netcfg::AcknowledgedRequest(
        endpoint, session_.Reply(), netcfg::IdentifyCommand(), 0, false, session_.Timing(),
        [&](const netcfg::ReplySlot& slot) {
            const netcfg::SearchReply reply = netcfg::ParseSearchReply(slot.LastReply);
            module = {reply.mac, slot.LastReplySender, reply.userName, reply.deviceName};
        },
        &error);
    if (outcome == netcfg::RequestOutcome::SendFailed) {
        return CommunicationFailure(error);
    }
    if (outcome == netcfg::RequestOutcome::Unanswered || module.ip != ip) {
        return CommunicationFailure(
            QStringLiteral("no module answers at %1 (UDP port %2)").arg(ip).arg(options_.port));
    }
    return module;
}

std::variant<FoundModule, Failure> ModuleClient::Locate(const ModuleName& name) {
    if (!name.ip.isEmpty()) {
        return Identify(name.ip);
    }
    auto searched = Search();
    if (auto* failure = std::get_if<Failure>(&searched)) {
        return *failure;
    }
    const QByteArray wanted = name.mac.toUpper();
    for (const FoundModule& m : std::get<QList<FoundModule>>(searched)) {
        if (m.mac.toUpper() == wanted) {
            return m;
        }
    }
    return CommunicationFailure(QStringLiteral("no module with MAC %1 answered a search to %2")
                                    .arg(QString::fromLatin1(name.mac), options_.broadcast));
}

std::variant<netcfg::ModuleSettings, Failure> ModuleClient::Read(const QString& ip) {
    // A module that does not answer "X" would cost three tries of every one of the 24
    // requests: find out first.
    auto identified = Identify(ip);
    if (auto* failure = std::get_if<Failure>(&identified)) {
        return *failure;
    }
    session_.Settings() = netcfg::ModuleSettings{};
    const netcfg::ExchangeResult result = netcfg::RunReadExchange(
        session_.ConfigEndpoint(), session_.Reply(), session_.Settings(), session_.Timing());
    if (!result.sent) {
        return CommunicationFailure(result.error);
    }
    if (!netcfg::IsReadComplete(session_.Settings())) {
        return CommunicationFailure(
            QStringLiteral("请检查设备与pc连线状态! (the module at %1 left settings "
                           "unanswered: %2 of %3 requests answered)")
                .arg(ip)
                .arg(result.acknowledged)
                .arg(result.requests));
    }
    return session_.Settings();
}

std::optional<Failure> ModuleClient::RunBursts(netcfg::UdpEndpoint& endpoint,
                                               QList<netcfg::Burst> plan) {
    if (options_.broadcast.isEmpty()) {
        plan.removeIf([](const netcfg::Burst& b) { return b.broadcast; });
    }
    const netcfg::ExchangeResult result = netcfg::RunBursts(endpoint, plan, session_.Target());
    if (!result.sent) {
        return CommunicationFailure(result.error);
    }
    return std::nullopt;
}

std::optional<Failure> ModuleClient::Write(const netcfg::ModuleSettings& settings,
                                           const QString& ip) {
    if (auto failure = Open()) {
        return failure;
    }
    return RunBursts(session_.ConfigEndpoint(), netcfg::WriteExchangePlan(settings, ip));
}

std::optional<Failure> ModuleClient::ChangeIp(const QString& ip, const QByteArray& mac,
                                              const QString& newIp) {
    if (!changeIpEndpoint_.IsOpen() && !changeIpEndpoint_.Open()) {
        return CommunicationFailure(
            QStringLiteral("服务端口冲突！ (no UDP port for the module protocol)"));
    }
    return RunBursts(changeIpEndpoint_, netcfg::ChangeIpExchangePlan(ip, mac, newIp.toLatin1()));
}

}  // namespace cli
