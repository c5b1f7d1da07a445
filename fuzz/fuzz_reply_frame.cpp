// The library's reply decoder: any byte stream, fed in any split, never crashes; and garbage
// followed by a valid reply yields that reply last, unless a forged frame overlaps it.
#include "fuzz_check.h"
#include "fuzz_forged_frame.h"
#include "gate/wire_frame.h"

#include <cstddef>
#include <cstdint>

using gate::wire::Reply;
using gate::wire::ReplyScanner;

namespace {

constexpr ForgedLayout kLayout{
    gate::wire::kReplyStart,    gate::wire::kReplyHeader, 6, gate::wire::kMaxReplyPayload, 5,
    gate::wire::kMaxReplyStatus};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = size > 0 ? data[0] % (input.size() + 1) : 0;

    ReplyScanner scanner;
    scanner.Feed(input.left(split));
    while (scanner.Next()) {
    }
    scanner.Feed(input.mid(split));
    while (auto r = scanner.Next()) {
        FUZZ_CHECK(r->payload.size() <= gate::wire::kMaxReplyPayload);
    }

    // Garbage then a known frame: the frame must come out.
    const Reply known{0x01, 0x1A, 0x42, 0, 3, QByteArray::fromHex("000102")};
    ReplyScanner after;
    after.Feed(input);
    after.Feed(gate::wire::EncodeReply(known));
    std::optional<Reply> last;
    while (auto r = after.Next()) {
        last = r;
    }
    FUZZ_CHECK((last.has_value() && *last == known) ||
               ForgedFrameOverlaps(QByteArray(input).append(gate::wire::EncodeReply(known)),
                                   input.size(), kLayout));
    return 0;
}
