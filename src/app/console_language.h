#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QCoreApplication;

namespace app {

// The languages of the console's windows. Chinese is the source language of every text.
enum class ConsoleLanguage { Chinese, English };

// "zh" or "en", as --lang takes them; nothing for anything else.
std::optional<ConsoleLanguage> ParseConsoleLanguage(const QString& name);

// Sets the language of the application's windows before any window is made: the console's own
// translation (built into the program), Qt's translation of its standard texts (buttons, context
// menus, file dialogs) from the system's Qt translations, and the default locale, so that
// neither LANG nor the system locale has a say. The translators are children of the
// application. Returns the catalogues that could not be loaded (the windows then show those
// texts in their source language); empty when all went well.
QStringList InstallConsoleLanguage(QCoreApplication& application, ConsoleLanguage language);

}  // namespace app
