#pragma once

class QLineEdit;

namespace gui {
class Prompter;
}

namespace netcfg {

// Runs the address check (OctetCheck) on every change of a masked address entry and shows its
// message in a plain box (no icon, the application's title as caption); the check only warns.
void WatchAddressEntry(QLineEdit& entry, gui::Prompter& prompter);

}  // namespace netcfg
