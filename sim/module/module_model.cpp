#include "module_model.h"

#include "core/netcfg/parameter_codes.h"

namespace modulesim {

netcfg::ModuleSettings DefaultModuleSettings(const QByteArray& mac, const QByteArray& ip,
                                             const QByteArray& userName,
                                             const QByteArray& deviceName) {
    netcfg::ModuleSettings s;
    s.UserName = userName;
    s.DeviceName = deviceName;
    s.Mac = mac;
    s.Ip = ip;
    s.SourcePort = "4001";
    s.Protocol = "1";
    s.WorkMode = "0";
    s.ConnectMode = "0";
    s.ConnectTimeLimit = "10";
    s.RtsMode = "0";
    s.DtrMode = "0";
    s.BaudRate = "3";
    s.Parity = "0";
    s.DataBits = "1";
    s.OnTheFly = "0";
    s.MaxPackets = "256";
    s.MaxCharDelay = "10";
    s.DestIp = "0.0.0.0";
    s.DestPort = "0";
    s.GatewayIp = "0.0.0.0";
    s.NetMask = "255.255.255.0";
    return s;
}

ModuleModel::ModuleModel(netcfg::ModuleSettings settings, ModuleSwitches switches)
    : settings_(std::move(settings)), switches_(std::move(switches)) {}

QByteArray ModuleModel::SearchReply() const {
    // MAC "/" address "*" a 7-character firmware tag, then user name "/" device name.
    return QByteArray("A") + settings_.Mac + '/' + settings_.Ip + '*' + "V2.3.01" +
           settings_.UserName + '/' + settings_.DeviceName;
}

std::optional<QByteArray> ModuleModel::Handle(const QByteArray& datagram) {
    received_.append(datagram);
    std::optional<QByteArray> answer = Answer(datagram);
    if (switches_.silent) {
        return std::nullopt;
    }
    if (answer && switches_.refuseWith != 0) {
        return QByteArray(1, switches_.refuseWith);
    }
    return answer;
}

std::optional<QByteArray> ModuleModel::Answer(const QByteArray& datagram) {
    if (datagram.isEmpty()) {
        return std::nullopt;
    }
    const QByteArrayView body = QByteArrayView(datagram).sliced(1);
    switch (datagram.front()) {
        case 'X':
            return SearchReply();
        case 'B':
            ++flashes_;
            return SearchReply();
        case 'W':
            naming_ = body == settings_.Mac ? Naming::Me : Naming::Other;
            return naming_ == Naming::Me ? std::optional<QByteArray>("A") : std::nullopt;
        case 'L':
            open_ = body.isEmpty() ? naming_ != Naming::Other : body == settings_.Mac;
            if (!open_) {
                return std::nullopt;
            }
            staged_.clear();
            return QByteArray("A");
        case 'G':
            return Query(body);
        case 'S':
            return Set(body);
        case 'E':
            return End();
        default:
            return QByteArray("C");
    }
}

std::optional<QByteArray> ModuleModel::Query(QByteArrayView body) {
    if (naming_ == Naming::Other) {
        return std::nullopt;
    }
    const qsizetype bar = body.indexOf('|');
    const netcfg::ParameterCode* p = netcfg::FindParameter(body.first(std::max<qsizetype>(bar, 0)));
    if (bar != 2 || p == nullptr) {
        return QByteArray("C");
    }
    const QByteArray code(p->code);
    if (switches_.silentOn.contains(code)) {
        return std::nullopt;
    }
    int number = body.sliced(bar + 1).toInt();
    if (switches_.wrongNumberOn.contains(code)) {
        number = number >= 21 ? 1 : number + 1;
    }
    return QByteArray("A") + settings_.*(p->field) + '|' + QByteArray::number(number);
}

std::optional<QByteArray> ModuleModel::Set(QByteArrayView body) {
    if (!open_) {
        return std::nullopt;
    }
    const qsizetype bar = body.lastIndexOf('|');
    const netcfg::ParameterCode* p =
        netcfg::FindParameter(body.first(std::min<qsizetype>(2, body.size())));
    if (bar < 2 || p == nullptr || p->writeNumber == 0) {
        return QByteArray("C");
    }
    staged_.append({QByteArray(p->code), body.sliced(2, bar - 2).toByteArray()});
    return std::nullopt;
}

std::optional<QByteArray> ModuleModel::End() {
    const bool wasOpen = open_;
    open_ = false;
    naming_ = Naming::None;
    if (!wasOpen) {
        return std::nullopt;
    }
    for (const auto& [code, value] : staged_) {
        settings_.*(netcfg::FindParameter(code)->field) = value;
        applied_.append(code + '=' + value);
    }
    staged_.clear();
    return QByteArray("A");
}

}  // namespace modulesim
