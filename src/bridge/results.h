#pragma once

#include "gate/gate_library.h"

#include <cstdint>

namespace bridge {

// A result that says the link, not the controller, failed: no reply, a bad CRC or length.
inline bool IsCommunication(std::int32_t result) {
    const int code = result & 0x3F;
    return code == gate::result::kCommError || code == gate::result::kCrcError ||
           code == gate::result::kLengthError;
}

}  // namespace bridge
