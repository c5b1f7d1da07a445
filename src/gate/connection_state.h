#pragma once

#include "gate/gate_library.h"

#include <cstdint>

namespace gate {

// The main window's connection fields, passed to every library call.
struct ConnectionState {
    Byte ControllerAddress = 0xFF;
    std::int32_t PortHandle = -1;  // -1 closed; COM number (1-255) or IP port (1025-65534)
    std::int32_t LastResult = 0;
    Byte ReplyStatus = 0;    // record-memory fill state of the last reply
    Byte OperatingMode = 0;  // 0 channel management, 1 EAS, bit 1 set: EAS forced

    bool IsOpen() const { return PortHandle != -1; }
};

}  // namespace gate
