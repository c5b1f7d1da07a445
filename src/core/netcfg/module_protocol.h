#pragma once

#include "core/netcfg/parameter_codes.h"
#include "util/text_table.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace netcfg {

// Datagrams of the module protocol are the exact bytes of their text: no terminator, no length,
// no checksum. Names travel in GBK and are decoded only for display.

QByteArray IdentifyCommand();                     // "X"
QByteArray FlashCommand();                        // "B"
QByteArray NameCommand(QByteArrayView mac);       // "W" + MAC
QByteArray OpenCommand(QByteArrayView mac = {});  // "L" or "L" + MAC
QByteArray QueryCommand(const ParameterCode& p);  // "G" + code + "|" + read number
// "S" + code + value + "|" + number, e.g. "SPN502|21".
QByteArray SetCommand(QByteArrayView code, QByteArrayView value, int number);
QByteArray EndCommand();          // "E", closes a write
QByteArray EndChangeIpCommand();  // "E|35", closes a change of address

// Any datagram whose first character is "A".
bool IsAcknowledgement(QByteArrayView datagram);

// The kind text of a reply that does not begin with "A" ("C", "R", "D", "F"); empty otherwise.
QString RefusalText(QByteArrayView datagram, const util::TextTable& texts);

// A search reply: "A", MAC up to the first "/", text up to the first "*", 7 skipped
// characters, then user name "/" device name.
struct SearchReply {
    QByteArray mac;
    QByteArray userName;
    QByteArray deviceName;
    bool operator==(const SearchReply&) const = default;
};
SearchReply ParseSearchReply(QByteArrayView datagram);

// The value of a parameter reply "A" value "|" number, when its number (one character for read
// numbers 1 to 9, two for 10 and above) equals readNumber; nothing otherwise.
std::optional<QByteArray> TakeParameterReply(QByteArrayView datagram, int readNumber);

// The text of the module list's name column: empty when both names are empty or the device name
// is exactly "/", else user name "/" device name.
QString ModuleLabel(const QString& userName, const QString& deviceName);

}  // namespace netcfg
