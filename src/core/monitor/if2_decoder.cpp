#include "core/monitor/if2_decoder.h"

#include "core/monitor/message_body.h"
#include "core/monitor/message_text.h"
#include "util/conversions.h"

#include <algorithm>

namespace monitor {

namespace {

constexpr qsizetype kTagReportLength = 20;
constexpr qsizetype kHintBytes = 10;

QString FrameLine(QByteArrayView frame, std::int32_t& count) {
    if (!util::CheckCrcTrailer(frame)) {
        return kIF2CrcErrorLine;
    }
    if (frame.size() == kTagReportLength) {
        const MessageBody report(frame.toByteArray());
        ++count;
        return TimeText(report, 12) % u"  " % SpacedUidText(report, 3) % u"  " %
               QString::number(count);
    }
    return u"提示:" % util::BytesToHex(frame.first(std::min(frame.size(), kHintBytes)));
}

}  // namespace

QStringList DecodeIF2Read(QByteArrayView bytes, std::int32_t& count) {
    QStringList lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto length = static_cast<std::uint8_t>(bytes[pos]);
        if (length == 0) {
            lines.append(kIF2CrcErrorLine);
            break;
        }
        const qsizetype size = std::min<qsizetype>(length, bytes.size() - pos);
        lines.append(FrameLine(bytes.sliced(pos, size), count));
        pos += size;
    }
    return lines;
}

}  // namespace monitor
