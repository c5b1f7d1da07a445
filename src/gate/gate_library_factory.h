#pragma once

#include <memory>

#include "gate/gate_library.h"

namespace gate {

class ComPortTable;

// The gate library the console runs with; its serial links use the devices of the table.
std::unique_ptr<GateLibrary> CreateGateLibrary(const ComPortTable& comPorts);

}  // namespace gate
