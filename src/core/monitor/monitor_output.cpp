#include "core/monitor/monitor_output.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace monitor {

QString DisplayLineJson(const QDateTime& shownAt, bool easMode, MonitorList list,
                        const QString& line) {
    const QJsonObject o{
        {QStringLiteral("time"),
         shownAt.toOffsetFromUtc(shownAt.offsetFromUtc()).toString(Qt::ISODateWithMs)},
        {QStringLiteral("mode"), easMode ? QStringLiteral("eas") : QStringLiteral("channel")},
        {QStringLiteral("list"), ListObjectName(list)},
        {QStringLiteral("label"), ListLabel(list, util::TextTable::Source())},
        {QStringLiteral("line"), line},
    };
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

}  // namespace monitor
