#pragma once

#include "cli/exit_codes.h"

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace cli {

// Why a command stopped: its exit code and one line for stderr. A controller result keeps its
// code and the console's text, so that --json output can carry them.
struct Failure {
    ExitCode code = ExitCode::Usage;
    QString message;
    std::optional<std::int32_t> result;  // the controller's result code, when there is one

    QJsonObject ToJson() const;
};

Failure UsageFailure(const QString& message);
Failure FileFailure(const QString& message);
Failure CommunicationFailure(const QString& message);
Failure VerificationFailure(const QString& message);
Failure IncompleteFailure(const QString& message);

// Whether a library result means that no valid reply came (48, 49, 50 by their low six bits).
bool IsCommunicationResult(std::int32_t result);

// The failure of a library call: "<caption><console's result text> (result N: <meaning>)",
// exit code 3 for a communication error and 1 for a controller that refused.
Failure ResultFailure(const QString& caption, std::int32_t result);

// The failure of a request that changes the controller (a delete, a settings write): as
// ResultFailure, but a communication error says that the request may have run, since its reply
// may have been lost after it did.
Failure ChangeResultFailure(const QString& caption, std::int32_t result);

// The console's text of a result followed by its meaning in English.
QString ExplainResult(std::int32_t result);

}  // namespace cli
