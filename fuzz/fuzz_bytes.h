#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// The input bytes in a heap block of exactly their size, so that AddressSanitizer reports a
// decoder that reads even one byte past what it was given.
inline std::unique_ptr<std::uint8_t[]> ExactCopy(const std::uint8_t* data, std::size_t size) {
    auto copy = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (size > 0) {
        std::memcpy(copy.get(), data, size);
    }
    return copy;
}
