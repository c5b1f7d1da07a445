#include "controllers/netcfg/module_list_view.h"

#include "controllers/netcfg/netcfg_messages.h"
#include "core/netcfg/netcfg_session.h"
#include "util/gbk_codec.h"

#include <QTableWidget>

namespace netcfg {

ModuleListView::ModuleListView(QTableWidget& table, NetcfgSession& session, QObject* parent)
    : QObject(parent), table_(table), session_(session) {
    table_.setRowCount(0);
    connect(&session_, &NetcfgSession::RowAdded, this, &ModuleListView::AddRow);
    connect(&session_, &NetcfgSession::RowsCleared, this, [this] { table_.setRowCount(0); });
}

void ModuleListView::AddRow(const ModuleRow& row) {
    const int r = table_.rowCount();
    table_.insertRow(r);
    const QStringList cells{QString::number(row.number), util::FromGbk(row.mac), row.ip, row.label};
    for (int c = 0; c < cells.size() && c < table_.columnCount(); ++c) {
        table_.setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_.scrollToItem(table_.item(r, 0), QAbstractItemView::PositionAtTop);
}

std::optional<ModuleRow> ModuleListView::Selected() const {
    const QList<QTableWidgetItem*> items = table_.selectedItems();
    if (items.isEmpty()) {
        return std::nullopt;
    }
    return session_.Rows().At(items.first()->row());
}

std::optional<ModuleRow> ModuleListView::SelectedModule(gui::Prompter& prompter) const {
    const std::optional<ModuleRow> row = Selected();
    if (!row) {
        Warn(prompter, NoDeviceText());
        return std::nullopt;
    }
    if (!row->IsModule()) {
        return std::nullopt;
    }
    return row;
}

}  // namespace netcfg
