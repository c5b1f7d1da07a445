#include "gate/gate_library_factory.h"

#include "gate/unconnected_gate_library.h"

namespace gate {

// Until the wire-protocol library is linked in, the console runs without a controller link.
std::unique_ptr<GateLibrary> CreateGateLibrary(const ComPortTable& /*comPorts*/) {
    return std::make_unique<UnconnectedGateLibrary>();
}

}  // namespace gate
