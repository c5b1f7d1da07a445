#pragma once

#include <QByteArrayView>

#include "util/conversions.h"

#include <cstdint>

// A 16-bit CRC can be forged by chance: garbage may hold a frame with a valid CRC that runs
// into the frame after it, and such a frame is rightly taken first. These checks find one by
// brute force, apart from the scanner they judge: a start byte before the boundary whose
// announced frame is whole, has a valid CRC and ends past the boundary.
struct ForgedLayout {
    std::uint8_t start;
    int header;
    int lengthAt;
    int maxPayload;
    int statusAt;  // -1 when the frame has no status byte
    int maxStatus;
};

inline bool ForgedFrameOverlaps(QByteArrayView stream, qsizetype boundary,
                                const ForgedLayout& layout) {
    for (qsizetype i = 0; i < boundary && i + layout.header <= stream.size(); ++i) {
        const auto byte = [&](qsizetype at) { return static_cast<std::uint8_t>(stream[i + at]); };
        if (byte(0) != layout.start || byte(layout.lengthAt) > layout.maxPayload ||
            (layout.statusAt >= 0 && byte(layout.statusAt) > layout.maxStatus)) {
            continue;
        }
        const qsizetype size = layout.header + byte(layout.lengthAt) + 2;
        if (i + size <= boundary || i + size > stream.size()) {
            continue;
        }
        const std::uint16_t crc = util::Crc16Value(stream.sliced(i, size - 2));
        if (byte(size - 2) == (crc & 0xFF) && byte(size - 1) == (crc >> 8)) {
            return true;
        }
    }
    return false;
}
