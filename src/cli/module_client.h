#pragma once

#include "cli/command_line.h"
#include "cli/failure.h"
#include "core/netcfg/conversations.h"
#include "core/netcfg/module_settings.h"
#include "core/netcfg/netcfg_session.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace cli {

// Where module commands go. Nothing is broadcast unless --broadcast names the address (only
// the search has a default, the limited broadcast address 255.255.255.255).
struct ModuleOptions {
    QString broadcast;  // empty: no broadcast
    quint16 port = 65535;
    int waitMs = 1000;  // how long a search listens
};

// Adds --broadcast and --port (and --wait for the search) to a command line.
void AddModuleOptions(CommandLine& commandLine, bool search);
std::variant<ModuleOptions, Failure> ReadModuleOptions(const CommandLine& commandLine, bool search);

// A module as the command line names it: by its IP address or by its MAC.
struct ModuleName {
    QString ip;      // set when named by address
    QByteArray mac;  // set when named by MAC
};
std::variant<ModuleName, Failure> ParseModuleName(const QString& text,
                                                  const ModuleOptions& options);

// A module that answered a search.
struct FoundModule {
    QByteArray mac;
    QString ip;
    QByteArray userName;
    QByteArray deviceName;
};

// The conversations of the module protocol for gatectl: the search, the read exchange of the
// properties dialog, and the timed bursts of the write and change-IP exchanges, with the
// dialogs' pauses, acknowledgements and checks.
class ModuleClient {
public:
    explicit ModuleClient(ModuleOptions options);

    // Sends "X" to the broadcast address and lists every module that answers within waitMs,
    // once per MAC.
    std::variant<QList<FoundModule>, Failure> Search();

    // The module's address and MAC: a module named by MAC is found by a search, one named by
    // address answers a directed "X" (up to three tries of a second).
    std::variant<FoundModule, Failure> Locate(const ModuleName& name);

    // Every setting of the module at ip by the read exchange; a module that leaves one of the
    // settings the dialog needs unanswered fails, as the dialog refuses to open.
    std::variant<netcfg::ModuleSettings, Failure> Read(const QString& ip);

    // The write exchange: pass 1 to ip, pass 2 by broadcast naming the MAC when --broadcast
    // was given.
    std::optional<Failure> Write(const netcfg::ModuleSettings& settings, const QString& ip);

    // The change-IP exchange on an endpoint of its own, the same way.
    std::optional<Failure> ChangeIp(const QString& ip, const QByteArray& mac, const QString& newIp);

    const ModuleOptions& Options() const { return options_; }

private:
    std::optional<Failure> Open();
    std::optional<Failure> RunBursts(netcfg::UdpEndpoint& endpoint, QList<netcfg::Burst> plan);
    std::variant<FoundModule, Failure> Identify(const QString& ip);

    ModuleOptions options_;
    netcfg::NetcfgSession session_;
    netcfg::UdpEndpoint changeIpEndpoint_;
};

// "a.b.c.d" with every field 0 to 255 and no leading zeros, as sockets want it; nothing
// otherwise.
std::optional<QString> CanonicalIpv4(const QString& text);

}  // namespace cli
