#include "util/gbk_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>

namespace util {

namespace {

constexpr auto kStateless = QStringConverter::Flag::Stateless;

bool isLead(std::uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isTrail(std::uint8_t b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

QStringEncoder& encoder() {
    thread_local QStringEncoder enc("GBK", kStateless);
    return enc;
}

QStringDecoder& decoder() {
    thread_local QStringDecoder dec("GBK", kStateless);
    return dec;
}

}  // namespace

QByteArray ToGbk(QStringView text) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return text.toLatin1();
    }
    QByteArray out = encoder().encode(text);
    return out;
}

QString FromGbk(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    qsizetype runStart = 0;
    qsizetype i = 0;
    auto flush = [&](qsizetype end) {
        if (end > runStart) {
            out += decoder().decode(bytes.sliced(runStart, end - runStart));
        }
    };
    while (i < n) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b < 0x80) {
            ++i;
        } else if (b == 0x80) {
            // The code page's single-byte euro sign; decoders differ on it, so map it here.
            flush(i);
            out += QChar(0x20AC);
            ++i;
            runStart = i;
        } else if (isLead(b) && i + 1 < n && isTrail(static_cast<std::uint8_t>(bytes[i + 1]))) {
            i += 2;
        } else {
            flush(i);
            out += QChar(QChar::ReplacementCharacter);
            ++i;
            runStart = i;
        }
    }
    flush(n);
    return out;
}

}  // namespace util
