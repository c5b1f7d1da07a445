#pragma once

#include "gui/line_list_view.h"

#include <QString>

namespace gui {

// An append-only list of display lines (the message lists of the monitoring pages and the IF2
// list): compact line storage, one row height, only the rows in view painted, so it stays fast
// and lean with millions of lines.
class MessageList final : public gui::LineListView {
    Q_OBJECT
public:
    explicit MessageList(QWidget* parent = nullptr);

    // AppendLine, Clear, Count, Line, ScrollToNewest (the newest line becomes the top visible
    // line once the list can scroll that far, and is always visible) and TopIndex (row of the
    // top visible line, 0 for an empty list) come from LineListView.
};

}  // namespace gui
