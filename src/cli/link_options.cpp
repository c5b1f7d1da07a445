#include "cli/link_options.h"

#include "gate/connection_rules.h"

namespace cli {

namespace {

const QCommandLineOption kTcp(QStringLiteral("tcp"),
                              QStringLiteral("Connect to the controller's network module at "
                                             "HOST:PORT (PORT 1025 to 65534)."),
                              QStringLiteral("HOST:PORT"));
const QCommandLineOption kSerial(QStringLiteral("serial"),
                                 QStringLiteral("Connect over the serial line at PATH."),
                                 QStringLiteral("PATH"));
const QCommandLineOption kCom(
    QStringLiteral("com"),
    QStringLiteral("Connect over COM port N, numbered as the console numbers them; N=PATH maps "
                   "COM N onto PATH (repeatable; a single mapping also selects its port)."),
    QStringLiteral("N|N=PATH"));
const QCommandLineOption kAddress(QStringLiteral("address"),
                                  QStringLiteral("Controller address in hexadecimal (default "
                                                 "FF, which every controller answers)."),
                                  QStringLiteral("HEX"), QStringLiteral("FF"));

std::variant<LinkSpec, Failure> ReadComOptions(const QStringList& values, LinkSpec spec) {
    QMap<int, QString> mappings;
    int selected = 0;
    for (const QString& value : values) {
        if (value.contains(u'=')) {
            const auto mapping = gate::ComPortTable::ParseMapping(value);
            if (!mapping) {
                return UsageFailure(
                    QStringLiteral("--com %1: expected N=PATH with N from 1 to 255").arg(value));
            }
            mappings.insert(mapping->first, mapping->second);
            continue;
        }
        const auto n = gate::ParseSignedDecimal(value);
        if (!n || *n < 1 || *n > 255) {
            return UsageFailure(
                QStringLiteral("--com %1: expected a COM number from 1 to 255").arg(value));
        }
        if (selected != 0 && selected != *n) {
            return UsageFailure(
                QStringLiteral("--com names two ports, %1 and %2").arg(selected).arg(*n));
        }
        selected = *n;
    }
    if (selected == 0) {
        if (mappings.size() != 1) {
            return UsageFailure(QStringLiteral("--com: name the port with --com N"));
        }
        selected = mappings.firstKey();
    }
    spec.kind = LinkSpec::Kind::Serial;
    spec.comNumber = selected;
    spec.comPorts =
        mappings.isEmpty() ? gate::ComPortTable::Discover() : gate::ComPortTable(mappings);
    if (spec.comPorts.DevicePath(selected).isEmpty()) {
        return CommunicationFailure(
            QStringLiteral("COM%1 does not exist on this machine; map it with --com %1=PATH")
                .arg(selected));
    }
    return spec;
}

}  // namespace

QString LinkSpec::Describe() const {
    if (kind == Kind::Tcp) {
        return QStringLiteral("tcp %1:%2").arg(host).arg(port);
    }
    return QStringLiteral("serial COM%1 (%2)").arg(comNumber).arg(comPorts.DevicePath(comNumber));
}

void AddLinkOptions(CommandLine& commandLine) {
    for (const QCommandLineOption& o : {kTcp, kSerial, kCom, kAddress}) {
        commandLine.AddOption(o);
    }
}

std::variant<std::pair<QString, quint16>, QString> ParseHostPort(const QString& text) {
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon <= 0 || colon == text.size() - 1) {
        return QStringLiteral("expected HOST:PORT, for example 192.0.2.10:6000");
    }
    QString host = text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']')) {
        host = host.mid(1, host.size() - 2);
    } else if (host.contains(u':')) {
        return QStringLiteral("write an IPv6 address in brackets: [ADDRESS]:PORT");
    }
    const auto port = gate::ParseSignedDecimal(text.mid(colon + 1));
    if (!port || !gate::IsNetworkHandle(*port)) {
        return QStringLiteral("the port must be a number from 1025 to 65534");
    }
    if (host.isEmpty()) {
        return QStringLiteral("expected HOST:PORT, for example 192.0.2.10:6000");
    }
    return std::make_pair(host, static_cast<quint16>(*port));
}

std::variant<LinkSpec, Failure> ReadLinkOptions(const CommandLine& cl) {
    const int named =
        (cl.IsSet(kTcp) ? 1 : 0) + (cl.IsSet(kSerial) ? 1 : 0) + (cl.IsSet(kCom) ? 1 : 0);
    if (named == 0) {
        return UsageFailure(
            QStringLiteral("no connection: give --tcp HOST:PORT, --serial PATH "
                           "or --com N"));
    }
    if (named > 1) {
        return UsageFailure(QStringLiteral("give only one of --tcp, --serial and --com"));
    }
    LinkSpec spec;
    const QString addressText = cl.Value(kAddress);
    const auto address = gate::ParseControllerAddress(addressText);
    if (!address || addressText.size() > 2) {
        return UsageFailure(QStringLiteral("--address %1: expected one or two hexadecimal digits")
                                .arg(addressText));
    }
    spec.address = *address;
    if (cl.IsSet(kTcp)) {
        if (cl.Values(kTcp).size() > 1) {
            return UsageFailure(QStringLiteral("--tcp given twice"));
        }
        const auto hostPort = ParseHostPort(cl.Value(kTcp));
        if (const auto* why = std::get_if<QString>(&hostPort)) {
            return UsageFailure(QStringLiteral("--tcp %1: %2").arg(cl.Value(kTcp), *why));
        }
        const auto& [host, port] = std::get<std::pair<QString, quint16>>(hostPort);
        spec.kind = LinkSpec::Kind::Tcp;
        spec.host = host;
        spec.port = port;
        return spec;
    }
    if (cl.IsSet(kSerial)) {
        const QString path = cl.Value(kSerial);
        if (path.isEmpty() || cl.Values(kSerial).size() > 1) {
            return UsageFailure(QStringLiteral("--serial wants one device path"));
        }
        spec.kind = LinkSpec::Kind::Serial;
        spec.comNumber = 1;
        spec.comPorts = gate::ComPortTable(QMap<int, QString>{{1, path}});
        return spec;
    }
    return ReadComOptions(cl.Values(kCom), spec);
}

}  // namespace cli
