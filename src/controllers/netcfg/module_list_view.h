#pragma once

#include "core/netcfg/module_rows.h"

#include <QObject>

#include <optional>

class QTableWidget;

namespace gui {
class Prompter;
}

namespace netcfg {

class NetcfgSession;

// Shows the session's module list in ListView1 and answers which module is selected.
class ModuleListView final : public QObject {
    Q_OBJECT
public:
    ModuleListView(QTableWidget& table, NetcfgSession& session, QObject* parent = nullptr);

    // The selected row; nothing when no row is selected.
    std::optional<ModuleRow> Selected() const;

    // The module a button acts on: with no selection, warns "没有选择设备！" and gives nothing;
    // a selected row without MAC gives nothing silently.
    std::optional<ModuleRow> SelectedModule(gui::Prompter& prompter) const;

private:
    void AddRow(const ModuleRow& row);

    QTableWidget& table_;
    NetcfgSession& session_;
};

}  // namespace netcfg
