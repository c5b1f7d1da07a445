#pragma once

#include "cli/command_line.h"
#include "cli/gate_connection.h"
#include "core/records/log_state.h"

#include <memory>
#include <optional>

namespace cli {

// An opened controller connection, or the exit code of the failure that was reported instead.
struct Opened {
    std::unique_ptr<GateConnection> connection;
    int exitCode = 0;

    explicit operator bool() const { return connection != nullptr; }
};

// Parses the arguments and reads the link options without opening anything, for commands that
// check the rest of their input before they touch the controller. Nothing when the command is to
// stop (--help answered, a bad line reported), with the exit code in *exitCode.
std::optional<LinkSpec> ParseWithLink(CommandLine& commandLine, const QStringList& arguments,
                                      int* exitCode);

// Opens a link; a link that cannot be opened is reported.
Opened OpenLink(const CommandLine& commandLine, const LinkSpec& link);

// Both steps at once, for commands with nothing else to check first.
Opened ParseAndOpen(CommandLine& commandLine, const QStringList& arguments);

// Why a log-state query cannot be used: its failed result, or a count out of range (a corrupt
// reply: exit code 3). Nothing when the state can be used.
std::optional<Failure> LogStateFailure(const records::LogState& log, std::int32_t result);

// "2012-05-06 09:08:07": the console's time text without its trailing space.
QString TimeString(const gate::Clock6& time);

}  // namespace cli
