#pragma once

#include "gate/link.h"
#include "gate/link_timing.h"
#include "gate/wire_commands.h"
#include "gate/wire_frame.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace gate::wire {

// Payload lengths a result-0 reply may have.
struct LengthRule {
    int min = 0;
    int max = 0;

    static constexpr LengthRule Exactly(int n) { return {n, n}; }
    constexpr bool Accepts(qsizetype n) const { return n >= min && n <= max; }
};

// What one request brought back.
struct Exchange {
    std::int32_t result = 48;
    bool replied = false;  // a valid reply arrived: status and address are the controller's
    std::uint8_t status = 0;
    std::uint8_t address = 0;
    QByteArray payload;  // only when result is 0
};

// Sends one request and waits for its reply. Requests are numbered 0, 1, ... 255, 0, ...; a
// reply is the answer only when its command and sequence number are those of the request (and,
// unless the request went to every controller, its address is the one asked or alsoFrom), so a
// late reply to an earlier request is dropped, never taken for this one. alsoFrom serves the
// address change, whose reply may come from the controller's new address. The request must
// have left by writeDeadline (a call that first reopened its link has less of it left); the
// reply must then be whole within replyMs.
class Transactor {
public:
    explicit Transactor(int replyMs = LinkTiming{}.replyMs) : replyMs_(replyMs) {}

    Exchange Run(Link& link, std::uint8_t address, Command command, const QByteArray& payload,
                 LengthRule replyLength, std::optional<std::uint8_t> alsoFrom,
                 QDeadlineTimer writeDeadline);

    std::uint8_t NextSequence() const { return sequence_; }

private:
    static bool Matches(const Reply& reply, std::uint8_t address,
                        std::optional<std::uint8_t> alsoFrom, std::uint8_t command,
                        std::uint8_t sequence);

    int replyMs_;
    ReplyScanner scanner_;
    std::uint8_t sequence_ = 0;
};

}  // namespace gate::wire
