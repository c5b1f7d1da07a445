#include "core/netcfg/ipv4_text.h"

#include <QCoreApplication>

#include <QStringList>

namespace netcfg {

std::optional<quint32> ParseDottedIpv4(const QString& text) {
    const QStringList fields = text.split(u'.');
    if (fields.size() != 4) {
        return std::nullopt;
    }
    quint32 address = 0;
    for (const QString& field : fields) {
        if (field.isEmpty() || field.size() > 3) {
            return std::nullopt;
        }
        for (QChar c : field) {
            if (c < u'0' || c > u'9') {
                return std::nullopt;
            }
        }
        const uint value = field.toUInt();
        if (value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | value;
    }
    return address;
}

QString CompactIp(const QString& entryText) {
    QString compact = entryText.trimmed();
    compact.remove(u' ');
    return compact;
}

bool HasEmptyMiddleField(const QString& compactIp) {
    return compactIp.contains(u"..");
}

std::optional<QString> OctetCheck(const QString& text) {
    for (qsizetype start = 0; start < 16 && start < text.size(); start += 4) {
        // Never empty: the loop stops before a field that would start past the end. A masked
        // entry always holds all four fields, blanks included.
        const QString field = text.mid(start, 3);
        bool whole = false;
        const uint value = field.toUInt(&whole);
        if (whole && value > 255) {
            return QCoreApplication::translate("ModuleSettings", "错误: %1是错误的地址").arg(field);
        }
    }
    return std::nullopt;
}

}  // namespace netcfg
