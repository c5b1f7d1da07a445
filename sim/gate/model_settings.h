#pragma once

#include "controller_model.h"

#include <QString>
#include <QStringList>

namespace sim {

// Changes one named setting of the model, as scenario lines and the command line name them
// ("mode eas", "record-capacity 50", "full-policy overwrite", ...). Returns an empty text on
// success, otherwise why the name or value was refused (the model is then unchanged).
QString ApplySetting(ControllerModel& model, const QString& name, const QString& value);

// The names ApplySetting knows, for help texts and the documentation.
QStringList SettingNames();

}  // namespace sim
