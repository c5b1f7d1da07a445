#pragma once

#include <QString>

// The texts of the message lists' own controls (context menu, find bar, the note of lines
// below the view), in one place.
namespace gui::list_texts {

inline QString Copy() {
    return QStringLiteral("复制");
}
inline QString CopyAll() {
    return QStringLiteral("全部复制");
}
inline QString SaveAs() {
    return QStringLiteral("保存为文件...");
}
inline QString Find() {
    return QStringLiteral("查找...");
}

inline QString FindPlaceholder() {
    return QStringLiteral("查找");
}
inline QString FindPrevious() {
    return QStringLiteral("上一个 (Shift+F3)");
}
inline QString FindNext() {
    return QStringLiteral("下一个 (F3)");
}
inline QString FindClose() {
    return QStringLiteral("关闭查找 (Esc)");
}
// The find bar's count: the current match's place among the matching rows and their number,
// "…" while the rows are still being searched.
inline QString FindCount(qsizetype current, qsizetype total, bool complete) {
    if (complete && total == 0) {
        return QStringLiteral("无匹配");
    }
    const QString place = current > 0 ? QString::number(current) : QStringLiteral("-");
    return place + u'/' + QString::number(total) + (complete ? QString() : QStringLiteral("…"));
}

// The note at the foot of a list that stopped following its newest line.
inline QString RowsBelow(qsizetype rows) {
    return QStringLiteral("▼ 下方还有 %1 行，按 Esc 回到最新").arg(rows);
}

inline QString SaveCaption() {
    return QStringLiteral("保存为文件");
}
inline QString SaveFilter() {
    return QStringLiteral("文本文件 (*.txt);;所有文件 (*)");
}
inline QString MessageCaption() {
    return QStringLiteral("信息提示");
}
inline QString SaveFailed(const QString& path, const QString& reason) {
    return QStringLiteral("文件保存失败：%1\n%2").arg(path, reason);
}
inline QString TooManyToCopy(qsizetype rows, qsizetype limit) {
    return QStringLiteral("要复制 %1 行，剪贴板一次最多复制 %2 行。\n请使用“保存为文件...”。")
        .arg(rows)
        .arg(limit);
}

}  // namespace gui::list_texts
