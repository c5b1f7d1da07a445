// The simulator's request decoder: the same properties as the reply decoder.
#include "fuzz_check.h"
#include "gate/wire_frame.h"

#include <cstddef>
#include <cstdint>

using gate::wire::Request;
using gate::wire::RequestScanner;

namespace {

// True when a frame with a valid CRC starts inside the garbage and runs into the frame after it:
// a 16-bit CRC can be forged by chance, and such a frame is rightly taken first.
bool ForgedFrameOverlaps(const QByteArray& stream, qsizetype boundary) {
    for (qsizetype i = 0; i < boundary; ++i) {
        RequestScanner alone;
        alone.Feed(QByteArrayView(stream).sliced(i));
        const auto frame = alone.Next();
        if (!frame) {
            continue;
        }
        const QByteArray bytes = gate::wire::EncodeRequest(*frame);
        if (stream.mid(i, bytes.size()) == bytes && i + bytes.size() > boundary) {
            return true;
        }
    }
    return false;
}

}  // namespace

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
    std::optional<Request> last;
    while (auto r = after.Next()) {
        last = r;
    }
    FUZZ_CHECK((last.has_value() && *last == known) ||
               ForgedFrameOverlaps(QByteArray(input).append(gate::wire::EncodeRequest(known)),
                                   input.size()));
    return 0;
}
