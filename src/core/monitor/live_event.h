#pragma once

#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include "util/text_table.h"

namespace monitor {

// The name of every kind of live message of both modes, the `event` of the structured event.
// Channel mode: 0 "passage" ("no_person" when the UID is all zero), 1 "statistics",
// 2 "tag_timeout", 3 "passage_timeout", 4 "infrared_alarm". EAS mode: 0x00 by its status:
// 0 "no_person", 1 to 3 "passage", 4 and 5 "eas_alarm"; 0x20 "statistics", 0x21
// "passage_timeout", 0x22 "infrared_alarm". Any other kind, in either mode: "unknown".
QString LiveEventName(bool easMode, int kind, const MessageBody& body);

// Whether the message is an EAS alarm (EAS mode, regular event of status 4 or 5).
bool IsEasAlarm(bool easMode, int kind, const MessageBody& body);

// The display lines the console shows for one fetched message, in the order it appends them.
// lastNoPersonText is the marker the console keeps between polls (a repeated no-person report
// shows nothing); it is updated as the console's poll updates it. An unknown kind shows nothing.
DisplayLines LiveMessageLines(bool easMode, int kind, const MessageBody& body,
                              QString& lastNoPersonText, const util::TextTable& texts);

// Whether the console drives the lamp and buzzer after this message: a tagged passage that is
// shown (see ClassifyPassage), in channel mode.
bool DrivesLampAndBuzzer(bool easMode, int kind, const MessageBody& body,
                         const QString& lastNoPersonTextBefore);

// What one structured event is made of.
struct LiveEventInput {
    QString gate;
    QString id;
    bool easMode = false;
    int kind = 0;
    MessageBody body;
    QDateTime received;  // the host's time when the message was fetched
    DisplayLines lines;  // LiveMessageLines of the message, source texts
};

// The input of one message just fetched, received now, with the console's lines in source texts;
// lastNoPersonText is updated as LiveMessageLines updates it. The id is the caller's to set.
LiveEventInput FetchedEventInput(const QString& gate, bool easMode, int kind,
                                 const MessageBody& body, QString& lastNoPersonText);

// The structured event: gate, id, mode, event, alarm (EAS alarms), kind, time (the controller's
// time, ISO 8601, or null with time_raw when its digits are no valid time), received (ISO 8601
// with milliseconds and offset), the decoded fields under the names of the records export
// (uid, direction, forward, reverse, undetermined, tags) plus tag_data (hexadecimal, from the
// passage's or time-out's tag-data bytes), lines ({list, text} in display order) and body (hex).
QJsonObject LiveEventObject(const LiveEventInput& input);

}  // namespace monitor
