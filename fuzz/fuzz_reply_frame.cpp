// The library's reply decoder: any byte stream, fed in any split, never crashes; and garbage
// followed by a valid reply yields that reply last, unless the garbage forged a frame over it.
#include "fuzz_check.h"
#include "gate/wire_frame.h"

#include <cstddef>
#include <cstdint>

using gate::wire::Reply;
using gate::wire::ReplyScanner;

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
    // Garbage may by chance hold a frame with a valid CRC; if such a frame reaches into the known
    // one, the known frame is lost, which no CRC can prevent. Anything else must end with it.
    const qsizetype knownSize = gate::wire::EncodeReply(known).size();
    bool overlapped = false;
    std::optional<Reply> last;
    while (auto r = after.Next()) {
        if (!(*r == known) && after.Buffered() < knownSize) {
            overlapped = true;
        }
        last = r;
    }
    FUZZ_CHECK(overlapped || (last.has_value() && *last == known));
    return 0;
}
