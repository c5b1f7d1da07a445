// IF2 reads: any bytes up to the 4097 of the library's buffer. Decoding always ends with at most
// one line per byte, the report number goes up once per numbered tag-report line, and garbage
// that ends at a frame boundary does not hide a valid 20-byte tag report after it.
#include "core/monitor/if2_decoder.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"
#include "gate/gate_library.h"
#include "if2_frame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Lines of valid tag reports end with "  <number>"; no other line has two blanks then digits
// at its end, as CRC errors and hints end in a letter or a hex pair.
int NumberedLines(const QStringList& lines, std::int32_t firstNumber) {
    int n = 0;
    for (const QString& line : lines) {
        if (line.endsWith(u"  " % QString::number(firstNumber + n))) {
            ++n;
        }
    }
    return n;
}

// The longest start of bytes that the cutting rule splits into whole frames.
qsizetype WholeFramesPrefix(QByteArrayView bytes) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto length = static_cast<std::uint8_t>(bytes[pos]);
        if (length == 0 || length > bytes.size() - pos) {
            break;
        }
        pos += length;
    }
    return pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto n = static_cast<qsizetype>(std::min<std::size_t>(size, gate::kIF2BufferSize));
    const auto copy = ExactCopy(data, static_cast<std::size_t>(n));
    const QByteArrayView read(reinterpret_cast<const char*>(copy.get()), n);

    std::int32_t count = 0;
    const QStringList lines = monitor::DecodeIF2Read(read, count, util::TextTable::Source());
    FUZZ_CHECK(lines.size() <= n);
    FUZZ_CHECK(lines.isEmpty() == (n == 0));
    FUZZ_CHECK(count == NumberedLines(lines, 1));

    // Garbage cut at a frame boundary, then a real tag report.
    const sim::Uid8 uid{0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78};
    const sim::Clock6 time{24, 5, 17, 9, 30, 15};
    const QByteArray report = sim::If2TagReport(uid, time);
    const QByteArray joined = read.first(WholeFramesPrefix(read)).toByteArray() + report;
    std::int32_t before = 0;
    const QStringList garbageLines = monitor::DecodeIF2Read(read.first(WholeFramesPrefix(read)),
                                                            before, util::TextTable::Source());
    std::int32_t after = 0;
    const QStringList withReport = monitor::DecodeIF2Read(joined, after, util::TextTable::Source());
    FUZZ_CHECK(withReport.size() == garbageLines.size() + 1);
    FUZZ_CHECK(after == before + 1);
    FUZZ_CHECK(withReport.back() ==
               u"2024-05-17 09:30:15   E0 04 01 00 12 34 56 78  " % QString::number(after));
    return 0;
}
