#include "gui/line_list_accessible.h"

#include "gui/find_bar.h"
#include "gui/line_list_view.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace gui {

namespace {

// One row: a list item named by its text.
class RowAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    RowAccessible(LineListView* view, int row) : view_(view), row_(row) {}

    bool isValid() const override { return view_ != nullptr && row_ < view_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) {
            return {};
        }
        return view_->Line(row_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid() || !IsInView()) {
            return {};
        }
        QWidget* port = view_->viewport();
        const int y = (row_ - view_->TopIndex()) * view_->RowHeight();
        return {port->mapToGlobal(QPoint(0, y)), QSize(port->width(), view_->RowHeight())};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = view_->Selection().IsSelected(row_);
        s.focused = view_->hasFocus() && view_->Selection().Current() == row_;
        s.invisible = !IsInView();
        s.offscreen = s.invisible;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    // QAccessibleTableCellInterface: one column, no headers.
    bool isSelected() const override { return isValid() && view_->Selection().IsSelected(row_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Row() const { return row_; }

private:
    bool IsInView() const {
        return row_ >= view_->TopIndex() && row_ < view_->TopIndex() + view_->PageRows();
    }

    QPointer<LineListView> view_;
    int row_;
};

// The list: its rows, then the find bar while it is open.
class ListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(LineListView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~ListAccessible() override { ForgetRows(); }

    LineListView* View() const { return static_cast<LineListView*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiSelectable = true;
        s.extSelectable = true;
        return s;
    }

    int childCount() const override { return View()->Count() + (FindBarShown() ? 1 : 0); }
    QAccessibleInterface* child(int index) const override {
        if (index >= 0 && index < View()->Count()) {
            return Row(index);
        }
        if (index == View()->Count() && FindBarShown()) {
            return QAccessible::queryAccessibleInterface(View()->FindBarWidget());
        }
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->role() == QAccessible::ListItem) {
            const auto* row = dynamic_cast<const RowAccessible*>(child);
            return row != nullptr && row->table() == this ? row->Row() : -1;
        }
        return FindBarShown() && child->object() == View()->FindBarWidget() ? View()->Count() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = View()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!View()->viewport()->rect().contains(local)) {
            return QAccessibleWidget::childAt(x, y);
        }
        const int row = View()->TopIndex() + local.y() / View()->RowHeight();
        return row < View()->Count() ? Row(row) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const qsizetype current = View()->Selection().Current();
        if (View()->hasFocus() && current >= 0 && current < View()->Count()) {
            return Row(static_cast<int>(current));
        }
        return QAccessibleWidget::focusChild();
    }

    // QAccessibleTableInterface: one column of rows.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return column == 0 && row >= 0 && row < View()->Count() ? Row(row) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows()) {
            cells.append(Row(row));
        }
        return cells;
    }
    QString columnDescription(int) const override { return View()->Caption(); }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(View()->Selection().Count()); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return View()->Count(); }
    QList<int> selectedColumns() const override { return {}; }
    // The first kMaxListedSelectedRows selected rows (selectedRowCount says how many there are
    // in all): after Ctrl+A over millions of rows a screen reader asking for the selection gets
    // a list it can read, and no row interface is made for the rest.
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (const qsizetype row : View()->Selection().FirstRows(kMaxListedSelectedRows)) {
            rows.append(static_cast<int>(row));
        }
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return View()->Selection().IsSelected(row); }
    bool selectRow(int row) override { return View()->SetRowSelected(row, true); }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override { return View()->SetRowSelected(row, false); }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        // Rows are only ever appended, so the rows already known keep their place; a clear
        // takes them all away.
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::RowsInserted) {
            ForgetRows();
        }
    }

private:
    bool FindBarShown() const { return View()->IsFindOpen(); }

    QAccessibleInterface* Row(int row) const {
        if (const auto it = rows_.constFind(row); it != rows_.constEnd()) {
            return QAccessible::accessibleInterface(*it);
        }
        auto* iface = new RowAccessible(View(), row);
        rows_.insert(row, QAccessible::registerAccessibleInterface(iface));
        return iface;
    }

    void ForgetRows() {
        for (const QAccessible::Id id : std::as_const(rows_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
        rows_.clear();
    }

    mutable QHash<int, QAccessible::Id> rows_;
};

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object) {
    if (auto* view = qobject_cast<LineListView*>(object)) {
        return new ListAccessible(view);
    }
    return nullptr;
}

}  // namespace

void InstallLineListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    static_cast<void>(installed);
}

void NotifyAccessibleRowsAppended(LineListView& view, int first, int last) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTableModelChangeEvent event(&view, QAccessibleTableModelChangeEvent::RowsInserted);
    event.setFirstRow(first);
    event.setLastRow(last);
    QAccessible::updateAccessibility(&event);
}

void NotifyAccessibleReset(LineListView& view) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTableModelChangeEvent event(&view, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void NotifyAccessibleSelection(LineListView& view) {
    if (!QAccessible::isActive()) {
        return;
    }
    const monitor::RowSelection& selection = view.Selection();
    if (selection.Count() == 1) {
        QAccessibleEvent event(&view, QAccessible::Selection);
        event.setChild(static_cast<int>(selection.Ranges().front().first));
        QAccessible::updateAccessibility(&event);
        return;
    }
    QAccessibleEvent event(&view, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
}

void NotifyAccessibleFocus(LineListView& view) {
    const qsizetype current = view.Selection().Current();
    if (!QAccessible::isActive() || !view.hasFocus() || current < 0 || current >= view.Count()) {
        return;
    }
    QAccessibleEvent event(&view, QAccessible::Focus);
    event.setChild(static_cast<int>(current));
    QAccessible::updateAccessibility(&event);
}

}  // namespace gui
