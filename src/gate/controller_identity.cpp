#include "gate/controller_identity.h"

#include "gate/gate_library.h"

namespace gate {

namespace {

constexpr std::uint8_t kFirstVersionWithSerial = 7;
constexpr qsizetype kDetailedInfoSize = 7;  // product, major, minor, 4 serial bytes

}  // namespace

QString ControllerIdentity::Text() const {
    switch (kind) {
        case Kind::Unknown:
            return QStringLiteral("unknown");
        case Kind::NoSerial:
            return QStringLiteral("none");
        case Kind::Serial:
            break;
    }
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(serial.data()), qsizetype(serial.size()))
            .toHex()
            .toUpper());
}

ControllerIdentity IdentityFromReply(std::int32_t result, const QByteArray& payload) {
    ControllerIdentity id;
    if ((result & 0x3F) == result::kInvalidCommand) {
        id.kind = ControllerIdentity::Kind::NoSerial;
    } else if (result == result::kOk && payload.size() >= kDetailedInfoSize) {
        if (static_cast<std::uint8_t>(payload[1]) < kFirstVersionWithSerial) {
            id.kind = ControllerIdentity::Kind::NoSerial;
        } else {
            id.kind = ControllerIdentity::Kind::Serial;
            for (std::size_t i = 0; i < id.serial.size(); ++i) {
                id.serial[i] = static_cast<std::uint8_t>(payload[qsizetype(3 + i)]);
            }
        }
    }
    return id;
}

IdentityCheck CheckReopenedIdentity(const ControllerIdentity& opened,
                                    const ControllerIdentity& now) {
    using Kind = ControllerIdentity::Kind;
    if (now.kind == Kind::Unknown) {
        return IdentityCheck::NotProven;
    }
    if (opened.kind == Kind::Unknown) {
        return IdentityCheck::Same;  // nothing to compare with: the reopened link's is taken
    }
    return now == opened ? IdentityCheck::Same : IdentityCheck::Other;
}

}  // namespace gate
