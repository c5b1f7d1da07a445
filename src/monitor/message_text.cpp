#include "monitor/message_text.h"

#include "util/conversions.h"

namespace monitor {

QString TimeText(const MessageBody& body, int offset) {
    const auto field = [&](int i) { return util::ZeroPadDec(body.At(offset + i), 2); };
    return u"20" % field(0) % u'-' % field(1) % u'-' % field(2) % u' ' % field(3) % u':' %
           field(4) % u':' % field(5) % u' ';
}

QString PlainUidText(const MessageBody& body, int offset) {
    return util::BytesToHex(body.Slice(offset, 8));
}

QString SpacedUidText(const MessageBody& body, int offset) {
    const QString plain = PlainUidText(body, offset);
    QString spaced;
    spaced.reserve(23);
    for (int i = 0; i < plain.size(); i += 2) {
        if (i > 0) {
            spaced += u' ';
        }
        spaced += plain.mid(i, 2);
    }
    return spaced;
}

QString DirectionText(std::uint8_t passageByte) {
    switch (passageByte & 0x0F) {
        case 1:
            return QStringLiteral("正向");
        case 2:
            return QStringLiteral("反向");
        case 3:
            return QStringLiteral("方向不定");
        case 4:
            return kInfraredOffText;
        default:
            return {};
    }
}

QString EasStatusText(std::uint8_t status) {
    switch (status) {
        case 0:
            return kEasNoPersonText;
        case 1:
            return QStringLiteral("有人正向通过");
        case 2:
            return QStringLiteral("有人反向通过");
        case 3:
            return QStringLiteral("有人通过但方向不明");
        case 4:
            return QStringLiteral("红外打开有EAS报警");
        case 5:
            return QStringLiteral("红外已关闭有EAS报警");
        default:
            return {};
    }
}

}  // namespace monitor
