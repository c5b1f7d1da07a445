#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

#include "util/text_table.h"

namespace monitor {

// The display lists of the two monitoring pages, named as in the main window.
enum class MonitorList {
    ListBox1,  // IF2 output
    ListBox2,  // passage reports
    ListBox3,  // statistics
    ListBox4,  // passage time-outs
    ListBox5,  // tag time-outs
    ListBox6,  // infrared detection alarms
    ListBox7,  // tag data of passage reports and tag time-outs
    Lst1,      // EAS regular events
    Lst2,      // EAS statistics
    Lst3,      // EAS passage time-outs
    Lst4,      // EAS infrared detection alarms
};

// Object name of the list widget in the main window ("ListBox2", "lst1", ...).
QString ListObjectName(MonitorList list);

// The label above the list on its page, without the trailing blanks some labels carry.
QString ListLabel(MonitorList list, const util::TextTable& texts);

// The caption of the list in the console's event journal: its label, the EAS page's lists
// marked as such (two pages have lists of the same label).
QString JournalCaption(MonitorList list, const util::TextTable& texts);

// One line of the console's event journal: the local time it was shown, to the millisecond,
// the list's caption in brackets and the line as the list shows it:
// "2026-05-06 09:08:07.123 [常规响应] 2012-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向".
QString JournalLine(const QDateTime& shownAt, const QString& caption, const QString& line);

// What one message adds: lines in the order they are appended, and the lists to scroll after.
struct DisplayLines {
    QList<std::pair<MonitorList, QString>> lines;
    QList<MonitorList> scrolled;

    bool operator==(const DisplayLines&) const = default;
};

}  // namespace monitor
