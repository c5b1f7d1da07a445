// The simulator's request decoder: the same properties as the reply decoder.
#include "fuzz_check.h"
#include "gate/wire_frame.h"

#include <cstddef>
#include <cstdint>

using gate::wire::Request;
using gate::wire::RequestScanner;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RequestScanner scanner;
    for (qsizetype i = 0; i < input.size(); i += 7) {
        scanner.Feed(input.mid(i, 7));
        while (auto r = scanner.Next()) {
            FUZZ_CHECK(r->payload.size() <= gate::wire::kMaxRequestPayload);
        }
    }
    const Request known{0xFF, 0x1D, 0x07, QByteArray::fromHex("01000000")};
    RequestScanner after;
    after.Feed(input);
    after.Feed(gate::wire::EncodeRequest(known));
    // Garbage may by chance hold a frame with a valid CRC; if such a frame reaches into the known
    // one, the known frame is lost, which no CRC can prevent. Anything else must end with it.
    const qsizetype knownSize = gate::wire::EncodeRequest(known).size();
    bool overlapped = false;
    std::optional<Request> last;
    while (auto r = after.Next()) {
        if (!(*r == known) && after.Buffered() < knownSize) {
            overlapped = true;
        }
        last = r;
    }
    FUZZ_CHECK(overlapped || (last.has_value() && *last == known));
    return 0;
}
