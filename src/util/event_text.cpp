#include "util/event_text.h"

#include "util/conversions.h"

#include <QCoreApplication>

namespace util {

QString EventTimeText(const std::uint8_t* t) {
    const auto two = [t](int i) { return ZeroPadDec(t[i], 2); };
    return u"20" % two(0) % u'-' % two(1) % u'-' % two(2) % u' ' % two(3) % u':' % two(4) % u':' %
           two(5) % u' ';
}

QString SpacedHexText(QByteArrayView bytes) {
    const QString plain = BytesToHex(bytes);
    QString spaced;
    spaced.reserve(plain.size() + plain.size() / 2);
    for (qsizetype i = 0; i < plain.size(); i += 2) {
        if (i > 0) {
            spaced += u' ';
        }
        spaced += QStringView(plain).mid(i, 2);
    }
    return spaced;
}

QString DirectionText(std::uint8_t value, const TextTable& texts) {
    const auto text = [&texts](const char* source) { return texts.Text("EventText", source); };
    switch (value) {
        case 1:
            return text(QT_TRANSLATE_NOOP("EventText", "正向"));
        case 2:
            return text(QT_TRANSLATE_NOOP("EventText", "反向"));
        case 3:
            return text(QT_TRANSLATE_NOOP("EventText", "方向不定"));
        case 4:
            return text(QT_TRANSLATE_NOOP("EventText", "红外已关闭"));
        default:
            return {};
    }
}

}  // namespace util
