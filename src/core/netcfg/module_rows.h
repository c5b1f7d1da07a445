#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace netcfg {

// One row of the module list: running number, MAC as the module sent it, the sender address of
// its reply, and the label of its names.
struct ModuleRow {
    int number = 0;
    QByteArray mac;
    QString ip;
    QString label;
    bool operator==(const ModuleRow&) const = default;

    // A row counts as a module only when its MAC is not empty.
    bool IsModule() const { return !mac.isEmpty(); }
};

// The module list, keyed by MAC text: never two rows with the same MAC. Bounded: a flood of
// forged replies on the LAN cannot make it grow without end.
class ModuleRows {
public:
    static constexpr qsizetype kMaxRows = 1024;

    const QList<ModuleRow>& Rows() const { return rows_; }
    bool ContainsMac(const QByteArray& mac) const { return macs_.contains(mac); }
    bool Full() const { return rows_.size() >= kMaxRows; }
    void Clear() {
        rows_.clear();
        macs_.clear();
    }

    // Appends a row for a search reply numbered by the new row count (no duplicate test).
    // The list must not be full.
    const ModuleRow& Append(const QByteArray& datagram, const QString& sender);

    // The row at index, or nothing.
    std::optional<ModuleRow> At(qsizetype index) const;

private:
    QList<ModuleRow> rows_;
    QSet<QByteArray> macs_;  // the MACs of rows_
};

}  // namespace netcfg
