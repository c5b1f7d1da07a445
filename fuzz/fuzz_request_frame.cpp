// The simulator's request decoder: the same properties as the reply decoder.
#include "fuzz_check.h"
#include "fuzz_forged_frame.h"
#include "gate/wire_frame.h"

#include <cstddef>
#include <cstdint>

using gate::wire::Request;
using gate::wire::RequestScanner;

namespace {

constexpr ForgedLayout kLayout{gate::wire::kRequestStart,
                               gate::wire::kRequestHeader,
                               4,
                               gate::wire::kMaxRequestPayload,
                               -1,
                               0};

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
                                   input.size(), kLayout));
    return 0;
}
