#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the message lists' own controls (context menu, find bar, the note of lines
// below the view), in one place, in the console's language.
namespace gui::list_texts {

inline QString Copy() {
    return QCoreApplication::translate("LiveList", "复制");
}
inline QString CopyAll() {
    return QCoreApplication::translate("LiveList", "全部复制");
}
inline QString SaveAs() {
    return QCoreApplication::translate("LiveList", "保存为文件...");
}
inline QString Find() {
    return QCoreApplication::translate("LiveList", "查找...");
}

inline QString FindPlaceholder() {
    return QCoreApplication::translate("LiveList", "查找");
}
inline QString FindPrevious() {
    return QCoreApplication::translate("LiveList", "上一个 (Shift+F3)");
}
inline QString FindNext() {
    return QCoreApplication::translate("LiveList", "下一个 (F3)");
}
inline QString FindClose() {
    return QCoreApplication::translate("LiveList", "关闭查找 (Esc)");
}
// The find bar's count: the current match's place among the matching rows and their number,
// "…" while the rows are still being searched.
inline QString FindCount(qsizetype current, qsizetype total, bool complete) {
    if (complete && total == 0) {
        return QCoreApplication::translate("LiveList", "无匹配");
    }
    const QString place = current > 0 ? QString::number(current) : QStringLiteral("-");
    return place + u'/' + QString::number(total) + (complete ? QString() : QStringLiteral("…"));
}

// The note at the foot of a list that stopped following its newest line.
inline QString RowsBelow(qsizetype rows) {
    return QCoreApplication::translate("LiveList", "▼ 下方还有 %1 行，按 Esc 回到最新").arg(rows);
}

// The note at the foot of a list whose rows are being saved.
inline QString Saving(qsizetype written, qsizetype rows) {
    const qsizetype percent = rows > 0 ? written * 100 / rows : 100;
    return QCoreApplication::translate("LiveList", "正在保存：%1%").arg(percent);
}

inline QString SaveCaption() {
    return QCoreApplication::translate("LiveList", "保存为文件");
}
inline QString SaveFilter() {
    return QCoreApplication::translate("LiveList", "文本文件 (*.txt);;所有文件 (*)");
}
inline QString MessageCaption() {
    return QCoreApplication::translate("LiveList", "信息提示");
}
inline QString SaveFailed(const QString& path, const QString& reason) {
    return QCoreApplication::translate("LiveList", "文件保存失败：%1\n%2").arg(path, reason);
}
inline QString TooManyToCopy(qsizetype rows, qsizetype limit) {
    return QCoreApplication::translate(
               "LiveList", "要复制 %1 行，剪贴板一次最多复制 %2 行。\n请使用“保存为文件...”。")
        .arg(rows)
        .arg(limit);
}

}  // namespace gui::list_texts
