#pragma once

#include "gate/gate_library.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace gate {

// Remembers an acknowledgement whose reply was lost. The controller deletes what its last
// fetch delivered at the first acknowledgement it receives and answers any later one with
// "nothing to delete", so repeating an acknowledgement is always safe until the next fetch,
// and needed when the first never arrived: otherwise that fetch delivers the same message
// again and the client shows it twice. The library repeats it before its next fetch that can
// deliver something, on the same link to the same controller.
class AcknowledgementTracker {
public:
    // Where an acknowledgement went: the link (its kind and endpoint, as a text) and the
    // controller address.
    struct Destination {
        QString link;
        Byte address = 0;
        bool operator==(const Destination&) const = default;
    };

    // An acknowledgement to `to` was sent (or tried); replied: a whole reply came back.
    void Sent(const Destination& to, bool replied);
    // Whether an acknowledgement to `to` has to be repeated before the next fetch there.
    bool Unresolved(const Destination& to) const { return unresolved_ == to; }

private:
    std::optional<Destination> unresolved_;
};

}  // namespace gate
