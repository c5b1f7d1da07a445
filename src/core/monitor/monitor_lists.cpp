#include "core/monitor/monitor_lists.h"

#include <QCoreApplication>

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

QString ListLabel(MonitorList list, const util::TextTable& texts) {
    const auto text = [&texts](const char* source) { return texts.Text("LiveList", source); };
    switch (list) {
        case MonitorList::ListBox1:
            return text(QT_TRANSLATE_NOOP("LiveList", "IF2输出数据"));
        case MonitorList::ListBox2:
            return text(QT_TRANSLATE_NOOP("LiveList", "常规响应"));
        case MonitorList::ListBox3:
        case MonitorList::Lst2:
            return text(QT_TRANSLATE_NOOP("LiveList", "统计消息"));
        case MonitorList::ListBox4:
        case MonitorList::Lst3:
            return text(QT_TRANSLATE_NOOP("LiveList", "通过超时消息"));
        case MonitorList::ListBox5:
            return text(QT_TRANSLATE_NOOP("LiveList", "卡片超时消息"));
        case MonitorList::ListBox6:
        case MonitorList::Lst4:
            return text(QT_TRANSLATE_NOOP("LiveList", "红外探测报警消息"));
        case MonitorList::ListBox7:
            return text(QT_TRANSLATE_NOOP("LiveList", "标签数据显示"));
        case MonitorList::Lst1:
            return text(QT_TRANSLATE_NOOP("LiveList", "常规消息"));
    }
    return {};
}

QString JournalCaption(MonitorList list, const util::TextTable& texts) {
    switch (list) {
        case MonitorList::Lst1:
        case MonitorList::Lst2:
        case MonitorList::Lst3:
        case MonitorList::Lst4:
            return QStringLiteral("EAS ") + ListLabel(list, texts);
        default:
            return ListLabel(list, texts);
    }
}

QString JournalLine(const QDateTime& shownAt, const QString& caption, const QString& line) {
    return shownAt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QStringLiteral(" [") +
           caption + QStringLiteral("] ") + line;
}

}  // namespace monitor
