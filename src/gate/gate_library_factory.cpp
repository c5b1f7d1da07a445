#include "gate/gate_library_factory.h"

#include "gate/com_port_table.h"
#include "gate/wire_gate_library.h"

namespace gate {

std::unique_ptr<GateLibrary> CreateGateLibrary(const ComPortTable& comPorts) {
    return std::make_unique<WireGateLibrary>(comPorts);
}

}  // namespace gate
