#include "gate/gate_library_factory.h"

#include "gate/wire_gate_library.h"

namespace gate {

std::unique_ptr<GateLibrary> CreateGateLibrary(const ComPortTable& table) {
    return std::make_unique<WireGateLibrary>(table);
}

}  // namespace gate
