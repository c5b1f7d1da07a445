#include "util/conversions.h"

namespace util {

QString ZeroPadDec(int value, int width) {
    QString text = QString::number(value);
    if (text.size() < width) {
        text.prepend(QString(width - text.size(), u'0'));
    }
    return text;
}

QString BytesToHex(QByteArrayView bytes) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString text(bytes.size() * 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        *out++ = QChar(digits[b >> 4]);
        *out++ = QChar(digits[b & 0x0F]);
    }
    return text;
}

namespace {

// CRC-16/MCRF4XX (reflected polynomial 0x8408) one byte at a time: entry i is the register
// change for a low byte of i, computed bit by bit at compile time.
constexpr std::array<std::uint16_t, 256> kCrcTable = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned reg = i;
        for (int bit = 0; bit < 8; ++bit) {
            reg = (reg & 1U) != 0 ? (reg >> 1) ^ 0x8408U : reg >> 1;
        }
        table[i] = static_cast<std::uint16_t>(reg);
    }
    return table;
}();

}  // namespace

std::uint16_t Crc16Value(QByteArrayView bytes) {
    std::uint16_t reg = 0xFFFF;
    for (char c : bytes) {
        reg = static_cast<std::uint16_t>((reg >> 8) ^
                                         kCrcTable[(reg ^ static_cast<std::uint8_t>(c)) & 0xFFU]);
    }
    return reg;
}

std::array<std::uint8_t, 2> Crc16(QByteArrayView bytes) {
    const std::uint16_t reg = Crc16Value(bytes);
    return {static_cast<std::uint8_t>(reg & 0xFF), static_cast<std::uint8_t>(reg >> 8)};
}

bool CheckCrcTrailer(QByteArrayView frame) {
    if (frame.size() < 5) {
        return false;
    }
    const auto crc = Crc16(frame.first(frame.size() - 2));
    return static_cast<std::uint8_t>(frame[frame.size() - 2]) == crc[0] &&
           static_cast<std::uint8_t>(frame[frame.size() - 1]) == crc[1];
}

}  // namespace util
