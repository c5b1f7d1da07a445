#pragma once

#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"

#include <QString>

#include "util/text_table.h"

namespace monitor {

// UID texts with a meaning of their own in passage reports.
inline const QString kNoPersonUid = QStringLiteral("0000000000000000");
inline const QString kNeverAlarmedUid = QStringLiteral("FFFFFFFFFFFFFFFF");

// "20yy-mm-dd hh:mm:ss " from the six binary time bytes at offset, each field zero-padded to two
// digits (a value of 100 or more keeps all its digits), with one trailing space.
QString TimeText(const MessageBody& body, int offset);

// The 8 UID bytes at offset as 16 upper-case hex digits.
QString PlainUidText(const MessageBody& body, int offset);

// The same with a space between byte pairs: "01 23 45 67 89 AB CD EF".
QString SpacedUidText(const MessageBody& body, int offset);

// A fixed text of a live message (context "LiveMessage") from the given table.
QString LiveWords(const util::TextTable& texts, const char* source);

// A message that shows only its time (the six bytes at offset 0) and a fixed text, in one list.
DisplayLines TimeOnlyLines(MonitorList list, const MessageBody& body, const QString& suffix);

// Direction text of the low nibble of a passage byte; empty for an unknown direction.
QString DirectionText(std::uint8_t passageByte, const util::TextTable& texts);
// The low nibble of a passage byte whose infrared detection is switched off.
constexpr std::uint8_t kInfraredOffDirection = 4;

// Status text of a regular EAS event; empty for an unknown status.
QString EasStatusText(std::uint8_t status, const util::TextTable& texts);
// The status of a regular EAS event in which nobody passed and nothing alarmed.
constexpr std::uint8_t kEasNoPersonStatus = 0;

}  // namespace monitor
