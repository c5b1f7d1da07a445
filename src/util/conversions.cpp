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

std::uint16_t Crc16Value(QByteArrayView bytes) {
    std::uint16_t reg = 0xFFFF;
    for (char c : bytes) {
        reg ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            reg = (reg & 1U) != 0 ? static_cast<std::uint16_t>((reg >> 1) ^ 0x8408U)
                                  : static_cast<std::uint16_t>(reg >> 1);
        }
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
