#pragma once

#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"

#include <QString>
#include <QStringList>

#include "util/text_table.h"

#include <optional>

namespace monitor {

// Kinds of channel-management messages.
namespace channel_kind {
constexpr int kPassage = 0;
constexpr int kStatistics = 1;
constexpr int kTagTimeout = 2;
constexpr int kPassageTimeout = 3;
constexpr int kInfraredAlarm = 4;
}  // namespace channel_kind

// A decoded passage report (kind 0): UID bytes 0-7, passage byte 8, time bytes 9-14, tag data
// from byte 15 when the passage byte's high nibble is 3.
struct PassageReport {
    QString timeText;
    QString plainUid;
    QString spacedUid;
    QString direction;
    bool infraredOff = false;  // the passage byte says the infrared detection is off
    bool carriesTagData = false;
    QStringList tagDataLines;  // the two lines for ListBox7 when carriesTagData
};
PassageReport DecodePassage(const MessageBody& body, const util::TextTable& texts);

// What a poll does with a passage report, given the marker of the last no-person line shown.
enum class PassageAction {
    ShowNoPerson,  // first no-person report: "  无人" line, marker set, acknowledged
    Show,          // passage line, acknowledged (all-FF UID, or infrared off)
    ShowAndAlarm,  // passage line, acknowledged, then the LED and buzzer command
    Suppress,      // repeated no-person report: nothing shown, not acknowledged
};
PassageAction ClassifyPassage(const PassageReport& report, const QString& lastNoPersonText);

// time text, " ", spaced UID, " ", direction text.
QString PassageLine(const PassageReport& report);
// time text followed by "  无人".
QString NoPersonLine(const PassageReport& report, const util::TextTable& texts);

// The two tag-data lines: time text, " ", plain UID; then ten spaces and the hex of the bytes
// from offset 15 to the end of the body.
QStringList TagDataLines(const QString& timeText, const QString& plainUid, const MessageBody& body);

// Lines of the kinds 1 to 4 (statistics, tag time-out, passage time-out, infrared alarm);
// nothing for kind 0 (see DecodePassage) or an unknown kind.
std::optional<DisplayLines> DecodeChannelEvent(int kind, const MessageBody& body,
                                               const util::TextTable& texts);

}  // namespace monitor
