#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

namespace util {

// Decimal text of value (with a minus sign when negative), left-padded with "0" up to width.
QString ZeroPadDec(int value, int width);

// Two upper-case hexadecimal digits per byte, no separators.
QString BytesToHex(QByteArrayView bytes);

// CRC-16/MCRF4XX: reflected polynomial 0x8408, initial 0xFFFF, no final xor.
std::uint16_t Crc16Value(QByteArrayView bytes);

// The same CRC as it travels: low byte first, then high byte.
std::array<std::uint8_t, 2> Crc16(QByteArrayView bytes);

// True when the frame is at least 5 bytes long and its last two bytes are the CRC of the
// bytes before them, low byte first.
bool CheckCrcTrailer(QByteArrayView frame);

}  // namespace util
