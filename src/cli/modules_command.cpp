// gatectl modules search | get | set | change-ip: the serial-to-Ethernet network modules.
#include "cli/console_io.h"
#include "cli/module_client.h"
#include "cli/subcommands.h"
#include "core/netcfg/module_parameter_values.h"
#include "util/gbk_codec.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

namespace cli {

namespace {

using netcfg::ModuleSettings;
using netcfg::ParameterValue;

// One "NAME=VALUE" of modules set, checked.
struct Assignment {
    const ParameterValue* parameter;
    QByteArray wire;
};

std::variant<QList<Assignment>, Failure> ParseAssignments(const QStringList& texts) {
    QList<Assignment> out;
    for (const QString& text : texts) {
        const qsizetype eq = text.indexOf(u'=');
        if (eq <= 0) {
            return UsageFailure(QStringLiteral("\"%1\": expected NAME=VALUE").arg(text));
        }
        const ParameterValue* p = netcfg::FindParameterValue(text.left(eq));
        if (p == nullptr) {
            return UsageFailure(QStringLiteral("\"%1\": no such setting; see gatectl modules get")
                                    .arg(text.left(eq)));
        }
        for (const Assignment& a : out) {
            if (a.parameter == p) {
                return UsageFailure(QStringLiteral("%1 given twice").arg(p->name));
            }
        }
        QString why;
        const auto wire = netcfg::WireValue(*p, text.mid(eq + 1), &why);
        if (!wire) {
            return UsageFailure(why);
        }
        out.append({p, *wire});
    }
    return out;
}

QJsonObject ModuleJson(const FoundModule& m) {
    return {{QStringLiteral("mac"), QString::fromLatin1(m.mac)},
            {QStringLiteral("ip"), m.ip},
            {QStringLiteral("user_name"), util::FromGbk(m.userName)},
            {QStringLiteral("device_name"), util::FromGbk(m.deviceName)}};
}

QJsonObject SettingsJson(const ModuleSettings& s) {
    QJsonObject values;
    QJsonObject wire;
    for (const ParameterValue& p : netcfg::ParameterValues()) {
        const QByteArray& field = s.*(p.code->field);
        values.insert(p.name, netcfg::DisplayValue(p, field));
        wire.insert(QLatin1String(p.code->code), util::FromGbk(field));
    }
    return {{QStringLiteral("parameters"), values}, {QStringLiteral("wire"), wire}};
}

QStringList SettingsLines(const ModuleSettings& s) {
    QStringList lines;
    for (const ParameterValue& p : netcfg::ParameterValues()) {
        const QString label =
            p.name % QStringLiteral(" (") % QLatin1String(p.code->code) % QStringLiteral("):");
        lines << label.leftJustified(24) % u' ' % netcfg::DisplayValue(p, s.*(p.code->field));
    }
    return lines;
}

// The settings that differ, as "Name: old -> new".
QStringList Differences(const ModuleSettings& from, const ModuleSettings& to) {
    QStringList out;
    for (const ParameterValue& p : netcfg::ParameterValues()) {
        const QByteArray& a = from.*(p.code->field);
        const QByteArray& b = to.*(p.code->field);
        if (a != b) {
            out << QStringLiteral("%1: %2 -> %3")
                       .arg(p.name, netcfg::DisplayValue(p, a), netcfg::DisplayValue(p, b));
        }
    }
    return out;
}

// Parses the command line and its module options; nothing when the command is to stop.
std::optional<ModuleOptions> ParseCommon(CommandLine& cl, const QStringList& arguments, bool search,
                                         int* exitCode) {
    if (const auto code = cl.Parse(arguments)) {
        *exitCode = *code;
        return std::nullopt;
    }
    return Take(cl, ReadModuleOptions(cl, search), exitCode);
}

// The settings at the first of the addresses that answers, and that address.
std::variant<std::pair<ModuleSettings, QString>, Failure> ReadFirst(ModuleClient& client,
                                                                    const QStringList& ips) {
    Failure last = CommunicationFailure(QString());
    for (const QString& ip : ips) {
        auto read = client.Read(ip);
        if (auto* settings = std::get_if<ModuleSettings>(&read)) {
            return std::make_pair(*settings, ip);
        }
        last = std::get<Failure>(read);
    }
    return last;
}

// What a person should know when the module answered only at its old address.
QString StillAtOldAddress(const QString& answeredAt, const QString& newIp) {
    if (answeredAt == newIp) {
        return {};
    }
    return QStringLiteral(
               "the module reports %1 but still answers at %2; it moves when it "
               "restarts its network")
        .arg(newIp, answeredAt);
}

}  // namespace

int RunModulesSearch(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Send \"X\" to the broadcast address and list every "
                                         "module that answers: MAC, IP, user and device name."));
    AddModuleOptions(cl, true);
    int exitCode = 0;
    const auto options = ParseCommon(cl, arguments, true, &exitCode);
    if (!options) {
        return exitCode;
    }
    ModuleClient client(*options);
    const auto found = Take(cl, client.Search(), &exitCode);
    if (!found) {
        return exitCode;
    }
    QJsonArray modules;
    QStringList lines;
    for (const FoundModule& m : *found) {
        modules.append(ModuleJson(m));
        lines << QStringLiteral("%1  %2  %3 / %4")
                     .arg(QString::fromLatin1(m.mac).leftJustified(17), m.ip.leftJustified(15),
                          util::FromGbk(m.userName), util::FromGbk(m.deviceName));
    }
    if (lines.isEmpty()) {
        ConsoleIo::ErrLine(cl.Name(),
                           QStringLiteral("no module answered within %1 ms").arg(options->waitMs));
    }
    return cl.Succeed({{QStringLiteral("modules"), modules}}, lines);
}

int RunModulesGet(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Read every parameter of a module, by name, with the "
                                         "properties dialog's read exchange."));
    AddModuleOptions(cl, false);
    cl.AddPositional(QStringLiteral("module"), QStringLiteral("The module's IP address or MAC."),
                     QStringLiteral("MAC|IP"));
    cl.SetPositionalCount(1, 1);
    int exitCode = 0;
    const auto options = ParseCommon(cl, arguments, false, &exitCode);
    const auto name = options
                          ? Take(cl, ParseModuleName(cl.Positional().first(), *options), &exitCode)
                          : std::nullopt;
    if (!name) {
        return exitCode;
    }
    ModuleClient client(*options);
    const auto module = Take(cl, client.Locate(*name), &exitCode);
    const auto settings = module ? Take(cl, client.Read(module->ip), &exitCode) : std::nullopt;
    if (!settings) {
        return exitCode;
    }
    QJsonObject json = SettingsJson(*settings);
    json.insert(QStringLiteral("ip"), module->ip);
    return cl.Succeed(json, SettingsLines(*settings));
}

int RunModulesSet(const QString& words, const QStringList& arguments) {
    CommandLine cl(words,
                   QStringLiteral("Change parameters of a module: read all of them, change the "
                                  "named ones, write all back as the properties dialog does, "
                                  "and read them back."));
    AddModuleOptions(cl, false);
    cl.AddPositional(QStringLiteral("module"), QStringLiteral("The module's IP address or MAC."),
                     QStringLiteral("MAC|IP"));
    cl.AddPositional(QStringLiteral("settings"),
                     QStringLiteral("Settings to change, by name (as modules get shows them) "
                                    "or code."),
                     QStringLiteral("NAME=VALUE..."));
    cl.SetPositionalCount(2, -1);
    int exitCode = 0;
    const auto options = ParseCommon(cl, arguments, false, &exitCode);
    const auto name = options
                          ? Take(cl, ParseModuleName(cl.Positional().first(), *options), &exitCode)
                          : std::nullopt;
    const auto assignments =
        name ? Take(cl, ParseAssignments(cl.Positional().mid(1)), &exitCode) : std::nullopt;
    if (!assignments) {
        return exitCode;
    }
    ModuleClient client(*options);
    const auto module = Take(cl, client.Locate(*name), &exitCode);
    const auto read = module ? Take(cl, client.Read(module->ip), &exitCode) : std::nullopt;
    if (!read) {
        return exitCode;
    }
    const QString ip = module->ip;
    const ModuleSettings before = *read;
    ModuleSettings after = before;
    for (const Assignment& a : *assignments) {
        after.*(a.parameter->code->field) = a.wire;
    }
    // Every value goes out in the write: a list the module reported without a valid choice
    // would be written back broken, so it must be given.
    for (const ParameterValue& p : netcfg::ParameterValues()) {
        const QByteArray& field = after.*(p.code->field);
        QString why;
        if (p.kind == ParameterValue::Kind::List &&
            !netcfg::WireValue(p, netcfg::DisplayValue(p, field), &why)) {
            return cl.Fail(UsageFailure(
                QStringLiteral("the module reports %1 as \"%2\", which is not a choice of it; "
                               "give %1=VALUE to write a valid one")
                    .arg(p.name, QString::fromLatin1(field))));
        }
    }
    const QStringList changes = Differences(before, after);
    QJsonObject json{{QStringLiteral("ip"), ip},
                     {QStringLiteral("changes"), QJsonArray::fromStringList(changes)}};
    if (changes.isEmpty()) {
        return cl.Succeed(json, {QStringLiteral("nothing to change")});
    }
    if (const auto failure = client.Write(after, ip)) {
        return cl.Fail(*failure);
    }
    // A module that took a new address answers there; one that has not moved yet (or a
    // simulated one) still answers at the old.
    QStringList addresses{ip};
    if (after.Ip != before.Ip) {
        addresses.prepend(QString::fromLatin1(after.Ip));
    }
    const auto readBack = ReadFirst(client, addresses);
    if (const auto* failure = std::get_if<Failure>(&readBack)) {
        return cl.Fail(VerificationFailure(
            QStringLiteral("written, but the module could not be read back: ") + failure->message));
    }
    const auto& [readSettings, answeredAt] = std::get<std::pair<ModuleSettings, QString>>(readBack);
    const QStringList left = Differences(readSettings, after);
    if (!left.isEmpty()) {
        return cl.Fail(VerificationFailure(QStringLiteral("the module did not take: ") +
                                           left.join(QStringLiteral("; "))));
    }
    json.insert(QStringLiteral("verified"), true);
    QStringList lines{QStringLiteral("changed and read back:")};
    for (const QString& c : changes) {
        lines << QStringLiteral("  ") + c;
    }
    if (after.Ip != before.Ip) {
        const QString note = StillAtOldAddress(answeredAt, QString::fromLatin1(after.Ip));
        if (!note.isEmpty()) {
            lines << note;
            json.insert(QStringLiteral("note"), note);
        }
    }
    return cl.Succeed(json, lines);
}

int RunModulesChangeIp(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Change a module's IP address with the change-IP "
                                         "exchange (only the address is sent), then check "
                                         "that the module reports it."));
    AddModuleOptions(cl, false);
    cl.AddPositional(QStringLiteral("module"), QStringLiteral("The module's IP address or MAC."),
                     QStringLiteral("MAC|IP"));
    cl.AddPositional(QStringLiteral("new-ip"), QStringLiteral("The new address."),
                     QStringLiteral("NEWIP"));
    cl.SetPositionalCount(2, 2);
    int exitCode = 0;
    const auto options = ParseCommon(cl, arguments, false, &exitCode);
    const auto name = options
                          ? Take(cl, ParseModuleName(cl.Positional().at(0), *options), &exitCode)
                          : std::nullopt;
    if (!name) {
        return exitCode;
    }
    const auto newIp = CanonicalIpv4(cl.Positional().at(1));
    if (!newIp) {
        return cl.Fail(UsageFailure(
            QStringLiteral("\"%1\" is not a dotted IPv4 address").arg(cl.Positional().at(1))));
    }
    ModuleClient client(*options);
    const auto located = Take(cl, client.Locate(*name), &exitCode);
    if (!located) {
        return exitCode;
    }
    const FoundModule module = *located;
    if (const auto failure = client.ChangeIp(module.ip, module.mac, *newIp)) {
        return cl.Fail(*failure);
    }
    const auto readBack = ReadFirst(client, {*newIp, module.ip});
    if (const auto* failure = std::get_if<Failure>(&readBack)) {
        return cl.Fail(VerificationFailure(
            QStringLiteral("sent, but the module could not be read back: ") + failure->message));
    }
    const auto& [readSettings, answeredAt] = std::get<std::pair<ModuleSettings, QString>>(readBack);
    if (readSettings.Ip != newIp->toLatin1()) {
        return cl.Fail(VerificationFailure(QStringLiteral("the module still reports address %1")
                                               .arg(QString::fromLatin1(readSettings.Ip))));
    }
    QJsonObject json{{QStringLiteral("mac"), QString::fromLatin1(module.mac)},
                     {QStringLiteral("old_ip"), module.ip},
                     {QStringLiteral("ip"), *newIp},
                     {QStringLiteral("verified"), true}};
    QStringList lines{QStringLiteral("%1: address %2 -> %3")
                          .arg(QString::fromLatin1(module.mac), module.ip, *newIp)};
    const QString note = StillAtOldAddress(answeredAt, *newIp);
    if (!note.isEmpty()) {
        lines << note;
        json.insert(QStringLiteral("note"), note);
    }
    return cl.Succeed(json, lines);
}

}  // namespace cli
