#include "cli/failure.h"

#include "util/result_text.h"

namespace cli {

namespace {

std::uint8_t LowByte(std::int32_t result) {
    return static_cast<std::uint8_t>(result & 0xFF);
}

}  // namespace

QJsonObject Failure::ToJson() const {
    QJsonObject o{{QStringLiteral("exit_code"), Code(code)}, {QStringLiteral("message"), message}};
    if (result) {
        o.insert(QStringLiteral("result"), *result);
        o.insert(QStringLiteral("result_text"),
                 util::ResultCodeText(LowByte(*result), util::TextTable::Source()));
    }
    return o;
}

Failure UsageFailure(const QString& message) {
    return {ExitCode::Usage, message, std::nullopt};
}

Failure FileFailure(const QString& message) {
    return {ExitCode::File, message, std::nullopt};
}

Failure CommunicationFailure(const QString& message) {
    return {ExitCode::Communication, message, std::nullopt};
}

Failure VerificationFailure(const QString& message) {
    return {ExitCode::Verification, message, std::nullopt};
}

Failure IncompleteFailure(const QString& message) {
    return {ExitCode::Incomplete, message, std::nullopt};
}

bool IsCommunicationResult(std::int32_t result) {
    const int code = result & 0x3F;
    return code == 48 || code == 49 || code == 50;
}

QString ExplainResult(std::int32_t result) {
    const std::uint8_t code = LowByte(result);
    return util::ResultCodeText(code, util::TextTable::Source()) % QStringLiteral(" (result ") %
           QString::number(result) % QStringLiteral(": ") % util::ResultCodeMeaning(code) % u')';
}

Failure ResultFailure(const QString& caption, std::int32_t result) {
    const ExitCode code =
        IsCommunicationResult(result) ? ExitCode::Communication : ExitCode::Refused;
    return {code, caption % ExplainResult(result), result};
}

Failure ChangeResultFailure(const QString& caption, std::int32_t result) {
    if ((result & 0x3F) != 48) {  // communication error: no valid reply
        return ResultFailure(caption, result);
    }
    return {ExitCode::Communication,
            caption % util::MayHaveRunText(util::TextTable::Source()) %
                QStringLiteral(" (result 48: no valid reply; the request may have run)"),
            result};
}

}  // namespace cli
