#pragma once

#include <QByteArray>

namespace netcfg {

// The selected module's settings as the module protocol carries them: raw wire text, one field
// per parameter code (list settings hold the decimal index of the chosen item). The record is
// never cleared as a whole; each operation overwrites only the fields it names.
struct ModuleSettings {
    QByteArray UserName;
    QByteArray DeviceName;
    QByteArray Mac;
    QByteArray Ip;
    QByteArray SourcePort;
    QByteArray Protocol;
    QByteArray WorkMode;
    QByteArray ConnectMode;
    QByteArray ConnectTimeLimit;
    QByteArray RtsMode;
    QByteArray DtrMode;
    QByteArray BaudRate;
    QByteArray Parity;
    QByteArray DataBits;
    QByteArray OnTheFly;
    QByteArray MaxPackets;
    QByteArray MaxCharDelay;
    QByteArray DestIp;
    QByteArray DestPort;
    QByteArray GatewayIp;
    QByteArray NetMask;

    bool operator==(const ModuleSettings&) const = default;
};

}  // namespace netcfg
