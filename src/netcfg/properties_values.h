#pragma once

#include "netcfg/module_settings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace netcfg {

// The settings whose emptiness after a read means the module did not really answer.
bool IsReadComplete(const ModuleSettings& settings);

// A list field read as a decimal integer (its item index); nothing when it is not one.
std::optional<int> ListIndexOf(const QByteArray& field);

// The wire text of a list's index ("-1" for a list without a selection).
QByteArray IndexText(int index);

// The warning shown when a list without a selection would be written: the write is refused.
QString NoSelectionText(const QString& settingName);

}  // namespace netcfg
