#include "core/netcfg/module_parameter_values.h"

#include "core/netcfg/ipv4_text.h"
#include "core/netcfg/properties_values.h"
#include "util/gbk_codec.h"

#include <array>

namespace netcfg {

namespace {

using K = ParameterValue::Kind;

const QStringList kOffOn{QStringLiteral("off"), QStringLiteral("on")};

// The items of the properties dialogs' lists, in English and in the same order.
const std::array<ParameterValue, 21>& Table() {
    static const std::array<ParameterValue, 21> table = [] {
        const auto codes = ParameterCodes();
        const auto at = [&](int i) { return &codes[static_cast<std::size_t>(i)]; };
        return std::array<ParameterValue, 21>{{
            {at(0), QStringLiteral("UserName"), K::Text, {}, 0},
            {at(1), QStringLiteral("DeviceName"), K::Text, {}, 0},
            {at(2), QStringLiteral("Mac"), K::ReadOnly, {}, 0},
            {at(3), QStringLiteral("Ip"), K::Ipv4, {}, 0},
            {at(4), QStringLiteral("SourcePort"), K::Number, {}, 65535},
            {at(5),
             QStringLiteral("Protocol"),
             K::List,
             {QStringLiteral("udp"), QStringLiteral("tcp")},
             0},
            {at(6),
             QStringLiteral("WorkMode"),
             K::List,
             {QStringLiteral("server"), QStringLiteral("client")},
             0},
            {at(7),
             QStringLiteral("ConnectMode"),
             K::List,
             {QStringLiteral("immediate"), QStringLiteral("on-data")},
             0},
            {at(8), QStringLiteral("ConnectTimeLimit"), K::Number, {}, 99},
            {at(9), QStringLiteral("RtsMode"), K::List, kOffOn, 0},
            {at(10), QStringLiteral("DtrMode"), K::List, kOffOn, 0},
            {at(11),
             QStringLiteral("BaudRate"),
             K::List,
             {QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
              QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
              QStringLiteral("57600"), QStringLiteral("115200"), QStringLiteral("150"),
              QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("28800")},
             0},
            {at(12),
             QStringLiteral("Parity"),
             K::List,
             {QStringLiteral("none"), QStringLiteral("even"), QStringLiteral("odd"),
              QStringLiteral("mark"), QStringLiteral("space")},
             0},
            {at(13),
             QStringLiteral("DataBits"),
             K::List,
             {QStringLiteral("7"), QStringLiteral("8")},
             0},
            {at(14), QStringLiteral("OnTheFly"), K::List, kOffOn, 0},
            {at(15), QStringLiteral("MaxPackets"), K::Number, {}, 65535},
            {at(16), QStringLiteral("MaxCharDelay"), K::Number, {}, 65535},
            {at(17), QStringLiteral("DestIp"), K::Ipv4, {}, 0},
            {at(18), QStringLiteral("DestPort"), K::Number, {}, 65535},
            {at(19), QStringLiteral("GatewayIp"), K::Ipv4, {}, 0},
            {at(20), QStringLiteral("NetMask"), K::Ipv4, {}, 0},
        }};
    }();
    return table;
}

}  // namespace

std::span<const ParameterValue> ParameterValues() {
    return Table();
}

const ParameterValue* FindParameterValue(QStringView nameOrCode) {
    for (const ParameterValue& p : Table()) {
        if (nameOrCode.compare(p.name, Qt::CaseInsensitive) == 0 ||
            nameOrCode.compare(QLatin1String(p.code->code), Qt::CaseInsensitive) == 0) {
            return &p;
        }
    }
    return nullptr;
}

QString DisplayValue(const ParameterValue& p, const QByteArray& wire) {
    if (p.kind != K::List) {
        return util::FromGbk(wire);
    }
    const auto index = ListIndexOf(wire);
    if (index && *index >= 0 && *index < p.items.size()) {
        return p.items.at(*index);
    }
    return QString::fromLatin1(wire) + QStringLiteral(" (not a choice of this setting)");
}

std::optional<QByteArray> WireValue(const ParameterValue& p, const QString& entered, QString* why) {
    switch (p.kind) {
        case K::ReadOnly:
            *why = QStringLiteral("%1 cannot be written").arg(p.name);
            return std::nullopt;
        case K::Text:
            if (entered.contains(u'|')) {
                *why = QStringLiteral("%1 cannot hold \"|\"").arg(p.name);
                return std::nullopt;
            }
            return util::ToGbk(entered);
        case K::Ipv4:
            if (!ParseDottedIpv4(entered)) {
                *why = QStringLiteral("%1 wants a dotted IPv4 address, not \"%2\"")
                           .arg(p.name, entered);
                return std::nullopt;
            }
            return entered.toLatin1();
        case K::Number: {
            bool ok = false;
            const uint v = entered.toUInt(&ok, 10);
            if (!ok || entered.trimmed() != entered || v > static_cast<uint>(p.max)) {
                *why = QStringLiteral("%1 wants a number from 0 to %2, not \"%3\"")
                           .arg(p.name)
                           .arg(p.max)
                           .arg(entered);
                return std::nullopt;
            }
            return QByteArray::number(v);
        }
        case K::List: {
            for (qsizetype i = 0; i < p.items.size(); ++i) {
                if (entered.compare(p.items.at(i), Qt::CaseInsensitive) == 0) {
                    return IndexText(static_cast<int>(i));
                }
            }
            *why = QStringLiteral("%1 wants one of %2, not \"%3\"")
                       .arg(p.name, p.items.join(QStringLiteral(", ")), entered);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace netcfg
