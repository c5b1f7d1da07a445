#pragma once

#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"

#include <QString>

#include "util/text_table.h"

#include <optional>

namespace monitor {

// Kinds of EAS-mode messages.
namespace eas_kind {
constexpr int kRegular = 0x00;
constexpr int kStatistics = 0x20;
constexpr int kPassageTimeout = 0x21;
constexpr int kInfraredAlarm = 0x22;
}  // namespace eas_kind

// Lines of one EAS-mode message; nothing for an unknown kind. A no-person event ("无人无EAS报警")
// is shown only when lastNoPersonText differs from its status text, which it then becomes; the
// marker is shared with the channel-mode poll.
// The marker holds the source text, so that it means the same whatever language the lines are in.
std::optional<DisplayLines> DecodeEasMessage(int kind, const MessageBody& body,
                                             QString& lastNoPersonText,
                                             const util::TextTable& texts);

}  // namespace monitor
