#pragma once

#include "bridge/collection_config.h"
#include "gate/gate_library.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace bridge {

// One gate of the site file's [[gate]] tables.
struct GateConfig {
    enum class LinkKind { Tcp, Serial, UsbSerial };

    QString name;
    LinkKind linkKind = LinkKind::Tcp;
    QString tcpHost;  // numeric IP address
    quint16 tcpPort = 0;
    QString serialPath;         // a device path
    QString usbSerial;          // an adapter's USB serial number
    gate::Byte address = 0xFF;  // FF: the controller's own address is read after connecting
    int pollMs = 50;
    std::optional<std::array<gate::Byte, 6>> ledBuzzer;
    // The site's [records] with the gate's [gate.records] over it; nothing when neither is set.
    std::optional<RecordsConfig> records;
    std::optional<ClockConfig> clock;  // the site's [clock]

    bool operator==(const GateConfig&) const = default;

    // What identifies the link: gates with the same key share one line and one worker.
    QString LinkKey() const;
    // "tcp 10.20.0.11:6000", "serial /dev/ttyUSB0", "usb_serial A1B2C3".
    QString DescribeLink() const;
};

// The whole site file, with the defaults of its optional keys filled in.
struct SiteConfig {
    QString file;
    QString siteName;
    QString stateDir;
    QString mqttHost;
    quint16 mqttPort = 1883;
    QString base;
    QString clientId;
    QString username;
    QString password;  // read from password_file
    QString caFile;
    int keepaliveS = 60;
    int spoolMaxMb = 1024;
    std::optional<RecordsConfig> records;  // [records]
    std::optional<ClockConfig> clock;      // [clock]
    QString metricsListen;     // [metrics] listen, "ADDRESS:PORT"; empty: no metrics endpoint
    QString metricsUsername;   // basic authentication of the endpoint when set
    QString metricsPassword;   // read from [metrics] password_file
    bool haDiscovery = false;  // [homeassistant] discovery
    QString haPrefix = QStringLiteral("homeassistant");
    QList<GateConfig> gates;
};

// The first error of a site file: its file, line (0 when the file could not be read at all),
// the key (dotted, "gate[2].tcp") and what is wrong.
struct SiteError {
    QString file;
    int line = 0;
    QString key;
    QString message;

    // "FILE:LINE: KEY: MESSAGE", the one line the bridge prints.
    QString Text() const;
};

// Where the state directory is when the file names none: $STATE_DIRECTORY (set by systemd's
// StateDirectory=), else ~/.local/state/gate-bridge.
QString DefaultStateDir();

// Reads and checks a site file. Unknown keys, a duplicate or reserved gate name, a gate with
// no link or two, FF (or no address) on a shared line, a bad address, port, base or name, and
// a password or CA file that cannot be read are errors: nothing falls back to a default.
std::variant<SiteConfig, SiteError> ReadSiteFile(const QString& path);

}  // namespace bridge
