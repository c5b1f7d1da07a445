#pragma once

#include "core/netcfg/module_settings.h"

#include <QByteArray>
#include <QList>

#include <span>

namespace netcfg {

// One module setting: its two-letter code, the number of its query, the number of its set
// command (0 when it is never written) and its field in ModuleSettings.
struct ParameterCode {
    const char* code;
    int readNumber;
    int writeNumber;
    QByteArray ModuleSettings::*field;
};

// The 21 settings in read-number order (ON first, NM last).
std::span<const ParameterCode> ParameterCodes();

// The 20 writable settings in write-number order (ON first, IP last).
QList<const ParameterCode*> WritableParametersInWriteOrder();

// The setting with this code, or nullptr.
const ParameterCode* FindParameter(QByteArrayView code);

}  // namespace netcfg
