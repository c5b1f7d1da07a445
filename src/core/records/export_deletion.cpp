#include "core/records/export_deletion.h"

#include "core/records/record_exporter.h"

namespace records {

bool MayDeleteAfter(const ExportOutcome& outcome) {
    return outcome.CompleteForDeletion();
}

DeletionOutcome DeleteIfUnchanged(gate::GateLibrary& library, gate::ConnectionState& c,
                                  const LogState& exported) {
    DeletionOutcome out;
    out.now = QueryLogState(library, c);
    out.result = c.LastResult;
    if (!LogState::Usable(c.LastResult, out.now)) {
        out.kind = DeletionOutcome::Kind::StateUnknown;
        return out;
    }
    if (!out.now.SameLogAs(exported)) {
        out.kind = DeletionOutcome::Kind::LogChanged;
        return out;
    }
    c.LastResult = library.DeleteAllRecord(c.ControllerAddress, c.ReplyStatus, c.PortHandle);
    out.result = c.LastResult;
    out.kind = DeletionOutcome::Kind::Deleted;
    return out;
}

}  // namespace records
