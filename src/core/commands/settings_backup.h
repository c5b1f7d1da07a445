#pragma once

#include "core/commands/settings_document.h"

#include <QList>
#include <QString>

namespace commands {

// A group of a backup that the document reader would refuse (a value the controller reported
// outside the console's lists), with the reader's reason.
struct RefusedGroup {
    QString group;
    QString reason;  // "settings.configuration.reader_inventory: 20 is out of range 30 to 255"
};

// Passes a backup through the document reader, as restore and diff will, and moves every group
// the reader refuses from the settings to not_read, with the reason. Afterwards the document
// reads back whole. The refused groups, in the order they were found; a document the reader
// refuses outside any group (which a backup never is) is left as it is and *whole set false.
QList<RefusedGroup> KeepReadableGroups(SettingsDocument& document, bool* whole);

}  // namespace commands
