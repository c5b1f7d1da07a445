#include "records/record_text.h"

#include "util/conversions.h"

namespace records {

QString TimeText(const gate::Clock6& time) {
    const auto two = [&](int i) { return util::ZeroPadDec(time[static_cast<std::size_t>(i)], 2); };
    return QStringLiteral("20") % two(0) % u'-' % two(1) % u'-' % two(2) % u' ' % two(3) % u':' %
           two(4) % u':' % two(5) % u' ';
}

QString UidText(const gate::Uid8& uid) {
    return util::BytesToHex(QByteArrayView(reinterpret_cast<const char*>(uid.data()),
                                           static_cast<qsizetype>(uid.size())));
}

QString SpacedUidText(const gate::Uid8& uid) {
    const QString plain = UidText(uid);
    QString out;
    out.reserve(23);
    for (qsizetype i = 0; i < plain.size(); i += 2) {
        if (i > 0) {
            out.append(u' ');
        }
        out.append(plain.mid(i, 2));
    }
    return out;
}

QString DirectionText(gate::Byte passage) {
    switch (passage) {
        case 1:
            return QStringLiteral("正向");
        case 2:
            return QStringLiteral("反向");
        case 3:
            return QStringLiteral("方向不定");
        case kInfraredOffPassage:
            return QStringLiteral("红外已关闭");
        default:
            return {};
    }
}

}  // namespace records
