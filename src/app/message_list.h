#pragma once

#include <QListView>
#include <QString>

namespace app {

class MessageLineModel;

// An append-only list of display lines (the message lists of the monitoring pages and the IF2
// list). A list view with fixed row height over a compact line model, scrolled per row.
class MessageList final : public QListView {
    Q_OBJECT
public:
    explicit MessageList(QWidget* parent = nullptr);
    ~MessageList() override;

    void AppendLine(const QString& line);
    void Clear();
    int Count() const;
    QString Line(int row) const;

    // Scrolls so that the newest line is the top visible line once the list can scroll that
    // far; the newest line is always visible afterwards.
    void ScrollToNewest();

    // Row of the top visible line; 0 for an empty list.
    int TopIndex() const;

private:
    MessageLineModel* model_;
};

}  // namespace app
