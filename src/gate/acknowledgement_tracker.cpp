#include "gate/acknowledgement_tracker.h"

namespace gate {

void AcknowledgementTracker::Sent(const Destination& to, bool replied) {
    if (!replied) {
        unresolved_ = to;
    } else if (unresolved_ == to) {
        // The controller has seen an acknowledgement since the lost one: resolved either way.
        unresolved_.reset();
    }
}

}  // namespace gate
