#include "controllers/netcfg/address_entry.h"

#include "core/netcfg/ipv4_text.h"
#include "gui/prompter.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace netcfg {

void WatchAddressEntry(QLineEdit& entry, gui::Prompter& prompter) {
    // displayText() keeps the blanks of the mask that the check counts by position.
    QObject::connect(&entry, &QLineEdit::textChanged, &entry, [&entry, &prompter] {
        if (const auto message = OctetCheck(entry.displayText())) {
            // A plain box: no icon, captioned with the application's title as the platform's
            // plain message box is.
            prompter.Message(*message, QCoreApplication::applicationName(),
                             gui::Prompter::Icon::None);
        }
    });
}

}  // namespace netcfg
