#include "gate/transactor.h"

#include "gate/gate_library.h"

namespace gate::wire {

bool Transactor::Matches(const Reply& reply, std::uint8_t address,
                         std::optional<std::uint8_t> alsoFrom, std::uint8_t command,
                         std::uint8_t sequence) {
    return reply.command == command && reply.sequence == sequence &&
           (address == kBroadcastAddress || reply.address == address || reply.address == alsoFrom);
}

Exchange Transactor::Run(Link& link, std::uint8_t address, Command command,
                         const QByteArray& payload, LengthRule replyLength,
                         std::optional<std::uint8_t> alsoFrom, QDeadlineTimer writeDeadline) {
    Exchange out;
    if (!link.IsOpen()) {
        return out;
    }
    // Whatever is still buffered answers an earlier request: drop it before asking again.
    link.ReadAvailable();
    scanner_.Clear();
    scanner_.TakeDamaged();

    const std::uint8_t sequence = sequence_++;
    const std::uint8_t code = Code(command);
    if (!link.Write(EncodeRequest(Request{address, code, sequence, payload}), writeDeadline)) {
        return out;
    }
    const QDeadlineTimer deadline(replyMs_);
    while (link.IsOpen()) {
        while (const auto reply = scanner_.Next()) {
            if (!Matches(*reply, address, alsoFrom, code, sequence)) {
                continue;
            }
            out.replied = true;
            out.status = reply->status;
            out.address = reply->address;
            out.result = reply->result;
            if (out.result == result::kOk) {
                if (replyLength.Accepts(reply->payload.size())) {
                    out.payload = reply->payload;
                } else {
                    out.result = result::kLengthError;
                }
            }
            return out;
        }
        if (const auto damaged = scanner_.TakeDamaged();
            damaged && damaged->command == code && damaged->sequence == sequence) {
            out.result = result::kCrcError;
            return out;
        }
        if (deadline.hasExpired()) {
            break;
        }
        scanner_.Feed(link.Read(deadline));
    }
    return out;
}

}  // namespace gate::wire
