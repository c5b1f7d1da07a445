#pragma once

#include <QStringList>

#include <optional>

#include "app/console_language.h"
#include "gate/com_port_table.h"

namespace app {

// What gate-console's command line asks for.
struct ConsoleOptions {
    std::optional<int> exitCode;  // set when the program is to end at once with this code
    bool demo = false;            // --demo: start with the simulated controller
    gate::ComPortTable comPorts;  // from --com N=PATH, else the machine's ports by the usual rule
    QString journalDirectory;     // --journal DIR: the event journal's folder; empty: no journal
    ConsoleLanguage language = ConsoleLanguage::Chinese;  // --lang en|zh
};

// Answers from main()'s arguments what needs no application object, so it works without a
// display: --help and --version (the manual page is made from them at build time), and the
// refusal of a bad command line, unless the line holds one of Qt's own single-dash options
// (-platform, -style, ...), which only the application object knows; ParseConsoleOptions then
// refuses it after Qt took its own. Returns the exit code when the program is to end now.
std::optional<int> AnswerBeforeApplication(int argc, char** argv);

// Parses the arguments that Qt left after taking its own (-platform, -style, ...). An unknown
// option, a bad --com mapping, a language other than en or zh or a stray argument is refused with
// one line on standard error and exit code 2, before any window opens or any port is touched.
ConsoleOptions ParseConsoleOptions(const QStringList& arguments);

}  // namespace app
