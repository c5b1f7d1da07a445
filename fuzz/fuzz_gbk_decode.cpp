// GBK decoding of module names and any other foreign text: never crashes, and a broken byte
// never swallows the text after it.
#include "fuzz_check.h"
#include "util/gbk_codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = util::FromGbk(input);
    FUZZ_CHECK(text.size() <= input.size());
    // A blank can never be a trail byte, so whatever precedes it, the marker survives.
    const QString marked = util::FromGbk(QByteArray(input + QByteArray(" END")));
    FUZZ_CHECK(marked.endsWith(QStringLiteral(" END")));
    // Encoding what was decoded never crashes either.
    (void)util::ToGbk(text);
    return 0;
}
