#include "monitor/monitor_lists.h"

namespace monitor {

QString ListObjectName(MonitorList list) {
    switch (list) {
        case MonitorList::ListBox1:
            return QStringLiteral("ListBox1");
        case MonitorList::ListBox2:
            return QStringLiteral("ListBox2");
        case MonitorList::ListBox3:
            return QStringLiteral("ListBox3");
        case MonitorList::ListBox4:
            return QStringLiteral("ListBox4");
        case MonitorList::ListBox5:
            return QStringLiteral("ListBox5");
        case MonitorList::ListBox6:
            return QStringLiteral("ListBox6");
        case MonitorList::ListBox7:
            return QStringLiteral("ListBox7");
        case MonitorList::Lst1:
            return QStringLiteral("lst1");
        case MonitorList::Lst2:
            return QStringLiteral("lst2");
        case MonitorList::Lst3:
            return QStringLiteral("lst3");
        case MonitorList::Lst4:
            return QStringLiteral("lst4");
    }
    return {};
}

}  // namespace monitor
