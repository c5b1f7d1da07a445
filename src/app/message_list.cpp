#include "app/message_list.h"

#include <QAbstractListModel>
#include <QScrollBar>
#include <QStringList>

namespace app {

// The lines as one string list; the view asks only for the display text of a row.
class MessageLineModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(lines_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines_.size()) {
            return {};
        }
        return lines_.at(index.row());
    }

    void Append(const QString& line) {
        const int row = static_cast<int>(lines_.size());
        beginInsertRows({}, row, row);
        lines_.append(line);
        endInsertRows();
    }
    void Clear() {
        beginResetModel();
        lines_.clear();
        endResetModel();
    }
    const QStringList& Lines() const { return lines_; }

private:
    QStringList lines_;
};

MessageList::MessageList(QWidget* parent) : QListView(parent), model_(new MessageLineModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

MessageList::~MessageList() = default;

void MessageList::AppendLine(const QString& line) {
    model_->Append(line);
}

void MessageList::Clear() {
    model_->Clear();
}

int MessageList::Count() const {
    return model_->rowCount();
}

QString MessageList::Line(int row) const {
    const QStringList& lines = model_->Lines();
    return row >= 0 && row < lines.size() ? lines.at(row) : QString();
}

void MessageList::ScrollToNewest() {
    if (Count() == 0) {
        return;
    }
    scrollTo(model_->index(Count() - 1), QAbstractItemView::PositionAtTop);
}

int MessageList::TopIndex() const {
    if (Count() == 0) {
        return 0;
    }
    // Scrolling is per row, so the scroll bar's value is the row at the top.
    return qBound(0, verticalScrollBar()->value(), Count() - 1);
}

}  // namespace app
