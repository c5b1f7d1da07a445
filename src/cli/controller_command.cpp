#include "cli/controller_command.h"

#include "core/records/record_text.h"

namespace cli {

std::optional<LinkSpec> ParseWithLink(CommandLine& cl, const QStringList& arguments,
                                      int* exitCode) {
    if (const auto code = cl.Parse(arguments)) {
        *exitCode = *code;
        return std::nullopt;
    }
    auto spec = ReadLinkOptions(cl);
    if (const auto* failure = std::get_if<Failure>(&spec)) {
        *exitCode = cl.Fail(*failure);
        return std::nullopt;
    }
    return std::get<LinkSpec>(std::move(spec));
}

Opened OpenLink(const CommandLine& cl, const LinkSpec& spec) {
    auto connection = std::make_unique<GateConnection>(spec);
    if (const auto failure = connection->Open()) {
        return {nullptr, cl.Fail(*failure)};
    }
    return {std::move(connection), 0};
}

Opened ParseAndOpen(CommandLine& cl, const QStringList& arguments) {
    int exitCode = 0;
    const auto spec = ParseWithLink(cl, arguments, &exitCode);
    if (!spec) {
        return {nullptr, exitCode};
    }
    return OpenLink(cl, *spec);
}

QString TimeString(const gate::Clock6& time) {
    return records::TimeText(time).trimmed();
}

}  // namespace cli
