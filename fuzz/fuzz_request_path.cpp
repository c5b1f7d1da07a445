// The simulator's whole request path: any byte stream, fed in pieces, goes through the request
// scanner and the controller model. It never crashes, answers at most once per request frame,
// and every answer is one whole reply frame to the request's command and sequence.
#include "controller_bus.h"
#include "fuzz_check.h"
#include "gate/wire_frame.h"
#include "request_processor.h"
#include "shared_controller.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using gate::wire::Reply;
using gate::wire::ReplyScanner;
using gate::wire::Request;
using gate::wire::RequestScanner;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype piece = 1 + data[0] % 32;

    sim::SharedController shared;
    const sim::ControllerBus bus({&shared});
    sim::RequestProcessor processor(bus);
    RequestScanner requests;  // the same stream as the simulator sees it
    std::vector<Request> asked;
    std::vector<QByteArray> answers;
    for (qsizetype i = 0; i < input.size(); i += piece) {
        const QByteArray bytes = input.mid(i, piece);
        requests.Feed(bytes);
        while (auto r = requests.Next()) {
            asked.push_back(*r);
        }
        for (sim::LineOutput& out : processor.Feed(bytes)) {
            FUZZ_CHECK(!out.disconnect && out.delayMs == 0);  // no faults were planned
            answers.push_back(std::move(out.bytes));
        }
    }
    FUZZ_CHECK(answers.size() <= asked.size());

    // Requests are answered in order; those for another address are skipped.
    std::size_t next = 0;
    for (const QByteArray& answer : answers) {
        ReplyScanner scanner;
        scanner.Feed(answer);
        const std::optional<Reply> reply = scanner.Next();
        FUZZ_CHECK(reply.has_value());
        FUZZ_CHECK(!scanner.Next().has_value() && scanner.Buffered() == 0);
        FUZZ_CHECK(gate::wire::EncodeReply(*reply) == answer);
        while (next < asked.size() &&
               (asked[next].command != reply->command || asked[next].sequence != reply->sequence)) {
            ++next;
        }
        FUZZ_CHECK(next < asked.size());
        ++next;
    }
    return 0;
}
