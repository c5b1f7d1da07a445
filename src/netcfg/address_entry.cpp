#include "netcfg/address_entry.h"

#include "app/prompter.h"
#include "netcfg/ipv4_text.h"

#include <QGuiApplication>
#include <QLineEdit>

namespace netcfg {

void WatchAddressEntry(QLineEdit& entry, app::Prompter& prompter) {
    // displayText() keeps the blanks of the mask that the check counts by position.
    QObject::connect(&entry, &QLineEdit::textChanged, &entry, [&entry, &prompter] {
        if (const auto message = OctetCheck(entry.displayText())) {
            prompter.Message(*message, QGuiApplication::applicationDisplayName(),
                             app::Prompter::Icon::Information);
        }
    });
}

}  // namespace netcfg
