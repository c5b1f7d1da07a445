#include "core/monitor/if2_decoder.h"

#include "core/monitor/message_body.h"
#include "core/monitor/message_text.h"
#include "util/conversions.h"

#include <QCoreApplication>

#include <algorithm>

namespace monitor {

namespace {

constexpr qsizetype kTagReportLength = 20;
constexpr qsizetype kHintBytes = 10;

QString CrcErrorLine(const util::TextTable& texts) {
    return texts.Text("LiveMessage", QT_TRANSLATE_NOOP("LiveMessage", "CRC校验错误"));
}

QString FrameLine(QByteArrayView frame, std::int32_t& count, const util::TextTable& texts) {
    if (!util::CheckCrcTrailer(frame)) {
        return CrcErrorLine(texts);
    }
    if (frame.size() == kTagReportLength) {
        const MessageBody report(frame.toByteArray());
        ++count;
        return TimeText(report, 12) % u"  " % SpacedUidText(report, 3) % u"  " %
               QString::number(count);
    }
    return texts.Text("LiveMessage", QT_TRANSLATE_NOOP("LiveMessage", "提示:")) %
           util::BytesToHex(frame.first(std::min(frame.size(), kHintBytes)));
}

}  // namespace

QStringList DecodeIF2Read(QByteArrayView bytes, std::int32_t& count, const util::TextTable& texts) {
    QStringList lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto length = static_cast<std::uint8_t>(bytes[pos]);
        if (length == 0) {
            lines.append(CrcErrorLine(texts));
            break;
        }
        const qsizetype size = std::min<qsizetype>(length, bytes.size() - pos);
        lines.append(FrameLine(bytes.sliced(pos, size), count, texts));
        pos += size;
    }
    return lines;
}

}  // namespace monitor
