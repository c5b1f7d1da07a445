#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace gate {

// Who answers on a controller link, as far as a reopened link must be proven to reach the same
// controller: its serial number (versions 7 and later report one), or that it has none.
struct ControllerIdentity {
    enum class Kind {
        Unknown,   // no usable answer to the identity request (silence, busy, self-test)
        NoSerial,  // a controller before version 7: nothing tells two of them apart
        Serial,    // a controller with this serial number
    };
    Kind kind = Kind::Unknown;
    std::array<std::uint8_t, 4> serial{};

    // The serial number as 8 hexadecimal digits; "none" or "unknown" for the other kinds.
    QString Text() const;
    bool operator==(const ControllerIdentity&) const = default;
};

// The identity an answer to GetControllerDetailedInfo gives: result 0 with version 7 or later
// is a serial number; result 0 with an older version, or 8 (a controller that does not know
// the request), is a controller without one; any other outcome tells nothing.
ControllerIdentity IdentityFromReply(std::int32_t result, const QByteArray& payload);

// What a reopened link found, against the identity read when the link was opened.
enum class IdentityCheck {
    Same,       // proven the same (or nothing to compare with on a TCP link): calls go through
    NotProven,  // no usable answer yet: the link is dropped and tried again later
    Other,      // another controller (another serial number, or none where there was one)
};
IdentityCheck CheckReopenedIdentity(const ControllerIdentity& opened,
                                    const ControllerIdentity& now);

}  // namespace gate
