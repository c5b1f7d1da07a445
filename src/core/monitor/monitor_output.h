#pragma once

#include "core/monitor/monitor_lists.h"

#include <QDateTime>
#include <QString>

namespace monitor {

// One display line of a poll as a JSON object on one line: the local time it was shown, the
// mode of the poll, the list it belongs to (object name and label) and the line itself.
QString DisplayLineJson(const QDateTime& shownAt, bool easMode, MonitorList list,
                        const QString& line);

}  // namespace monitor
