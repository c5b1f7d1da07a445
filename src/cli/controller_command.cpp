#include "cli/controller_command.h"

#include "core/records/record_text.h"

namespace cli {

std::optional<LinkSpec> ParseWithLink(CommandLine& cl, const QStringList& arguments,
                                      int* exitCode) {
    if (const auto code = cl.Parse(arguments)) {
        *exitCode = *code;
        return std::nullopt;
    }
    auto link = ReadLinkOptions(cl);
    if (const auto* failure = std::get_if<Failure>(&link)) {
        *exitCode = cl.Fail(*failure);
        return std::nullopt;
    }
    return std::get<LinkSpec>(std::move(link));
}

Opened OpenLink(const CommandLine& cl, const LinkSpec& link) {
    auto connection = std::make_unique<GateConnection>(link);
    if (const auto failure = connection->Open()) {
        return {nullptr, cl.Fail(*failure)};
    }
    return {std::move(connection), 0};
}

Opened ParseAndOpen(CommandLine& cl, const QStringList& arguments) {
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return {nullptr, exitCode};
    }
    return OpenLink(cl, *link);
}

std::optional<Failure> LogStateFailure(const records::LogState& log, std::int32_t result) {
    if (result != gate::result::kOk) {
        return ResultFailure(QStringLiteral("查询后台记录状态"), result);
    }
    if (log.countOutOfRange) {
        return CommunicationFailure(records::OutOfRangeCountText(log));
    }
    return std::nullopt;
}

QString TimeString(const gate::Clock6& time) {
    return records::TimeText(time).trimmed();
}

}  // namespace cli
