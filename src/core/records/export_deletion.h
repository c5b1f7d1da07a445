#pragma once

#include "core/records/log_state.h"
#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <cstdint>

namespace records {

struct ExportOutcome;

// The safety rules of export-and-delete: the log is deleted only when every record reached the
// file and the controller's log has not changed since the export began.

// Whether the deletion may be offered at all: the export was complete, the format held every
// record it was given, and the file reached the disk.
bool MayDeleteAfter(const ExportOutcome& outcome);

struct DeletionOutcome {
    enum class Kind {
        Deleted,       // DeleteAllRecord was sent; result holds its result
        StateUnknown,  // the log-state query failed (result) or its count is out of range
        LogChanged,    // the log differs from the exported one; nothing deleted
    };
    Kind kind = Kind::StateUnknown;
    std::int32_t result = 0;  // of the last library call (also in LastResult)
    LogState now;             // the log state just before the decision
};

// Asks the controller for its log state again and deletes the whole log only when it is still
// the exported one. The gate keeps logging while a person or a pipeline looks at the export, so
// this runs right before the deletion.
DeletionOutcome DeleteIfUnchanged(gate::GateLibrary& library, gate::ConnectionState& connection,
                                  const LogState& exported);

}  // namespace records
