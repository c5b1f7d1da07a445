#pragma once

#include <cstdint>

namespace sim::code {

// Result codes the controller puts in a reply.
constexpr std::uint8_t kOk = 0;
constexpr std::uint8_t kNoRecord = 5;
constexpr std::uint8_t kIndexOutOfRange = 7;
constexpr std::uint8_t kInvalidCommand = 8;
constexpr std::uint8_t kWrongMode = 9;
constexpr std::uint8_t kForcedEas = 11;
constexpr std::uint8_t kBusy = 51;

}  // namespace sim::code
