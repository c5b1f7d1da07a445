#pragma once

namespace cli {

// gatectl's exit codes; scripts rely on them, so they never change meaning.
enum class ExitCode : int {
    Done = 0,           // the command did what it was asked
    Refused = 1,        // the controller (or the module) refused; its code is in the message
    Usage = 2,          // bad command line: unknown subcommand or option, malformed value
    Communication = 3,  // no link, no valid reply, the module did not answer
    File = 4,           // a file could not be read, parsed or written
    Verification = 5,   // what was read back (or compared) is not what was expected
    Incomplete = 6,     // the output was written but lacks part of what was asked (named on
                        // stderr); nothing was deleted
};

constexpr int Code(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace cli
