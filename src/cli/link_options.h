#pragma once

#include "cli/command_line.h"
#include "cli/failure.h"
#include "gate/com_port_table.h"
#include "gate/gate_library.h"

#include <QString>

#include <variant>

namespace cli {

// Which controller link a command uses: a module's TCP server or a serial line, and the
// controller's address on it.
struct LinkSpec {
    enum class Kind { Tcp, Serial };
    Kind kind = Kind::Tcp;
    QString host;  // as given: an IP address or a host name
    quint16 port = 0;
    int comNumber = 0;
    gate::ComPortTable comPorts;  // the serial line's COM numbering
    gate::Byte address = 0xFF;

    // "tcp 127.0.0.1:6000" or "serial COM3 (/dev/ttyUSB0)".
    QString Describe() const;
};

// Adds --tcp, --serial, --com and --address to a command line.
void AddLinkOptions(CommandLine& commandLine);

// The link the options name; exactly one of --tcp, --serial and --com (a --com N=PATH mapping
// alone also names its line).
std::variant<LinkSpec, Failure> ReadLinkOptions(const CommandLine& commandLine);

// "HOST:PORT" with PORT in the range of network handles (1025 to 65534); "[::1]:PORT" for IPv6.
std::variant<std::pair<QString, quint16>, QString> ParseHostPort(const QString& text);

}  // namespace cli
