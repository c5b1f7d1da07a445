#include "core/netcfg/parameter_codes.h"

#include <algorithm>
#include <array>

namespace netcfg {
namespace {

using S = ModuleSettings;

constexpr std::array<ParameterCode, 21> kCodes{{
    {"ON", 1, 18, &S::UserName},
    {"DN", 2, 19, &S::DeviceName},
    {"FE", 3, 0, &S::Mac},
    {"IP", 4, 37, &S::Ip},
    {"PN", 5, 21, &S::SourcePort},
    {"TP", 6, 20, &S::Protocol},
    {"RM", 7, 22, &S::WorkMode},
    {"CM", 8, 29, &S::ConnectMode},
    {"CT", 9, 30, &S::ConnectTimeLimit},
    {"FC", 10, 23, &S::RtsMode},
    {"DT", 11, 24, &S::DtrMode},
    {"BR", 12, 25, &S::BaudRate},
    {"PR", 13, 26, &S::Parity},
    {"BB", 14, 27, &S::DataBits},
    {"RC", 15, 28, &S::OnTheFly},
    {"ML", 16, 31, &S::MaxPackets},
    {"MD", 17, 32, &S::MaxCharDelay},
    {"DI", 18, 33, &S::DestIp},
    {"DP", 19, 34, &S::DestPort},
    {"GI", 20, 35, &S::GatewayIp},
    {"NM", 21, 36, &S::NetMask},
}};

}  // namespace

std::span<const ParameterCode> ParameterCodes() {
    return kCodes;
}

QList<const ParameterCode*> WritableParametersInWriteOrder() {
    QList<const ParameterCode*> writable;
    for (const ParameterCode& p : kCodes) {
        if (p.writeNumber != 0) {
            writable.append(&p);
        }
    }
    std::sort(writable.begin(), writable.end(), [](const ParameterCode* a, const ParameterCode* b) {
        return a->writeNumber < b->writeNumber;
    });
    return writable;
}

const ParameterCode* FindParameter(QByteArrayView code) {
    for (const ParameterCode& p : kCodes) {
        if (code == QByteArrayView(p.code)) {
            return &p;
        }
    }
    return nullptr;
}

}  // namespace netcfg
