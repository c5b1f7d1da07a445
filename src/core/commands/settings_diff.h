#pragma once

#include "core/commands/controller_settings.h"

#include <QList>
#include <QString>

namespace commands {

// One setting that differs: its path in the settings document ("configuration.stat_time") and
// its value on each side as the document writes it. A group that one side lacks is one entry
// with the group's name as path and "(not read)" for the missing side.
struct SettingChange {
    QString path;
    QString from;  // the controller's value
    QString to;    // the wanted value
    bool operator==(const SettingChange&) const = default;
};

// What would change if wanted were written over current: only the groups wanted holds count.
QList<SettingChange> DiffSettings(const ControllerSettings& current,
                                  const ControllerSettings& wanted);

// "path: from -> to"
QString ChangeLine(const SettingChange& change);

}  // namespace commands
