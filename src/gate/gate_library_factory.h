#pragma once

#include "gate/com_port_table.h"
#include "gate/gate_library.h"

#include <memory>

namespace gate {

// The gate library the console talks to the controller with.
std::unique_ptr<GateLibrary> CreateGateLibrary(const ComPortTable& table);

}  // namespace gate
