#pragma once

#include "core/records/stored_record.h"

#include <QString>

#include <optional>

namespace records {

// The fields of a stored record for the structured export formats: words and numbers instead
// of the console's line. Fields a kind does not carry are empty.
struct RecordFields {
    QString event;      // passage, statistics, tag_timeout, passage_timeout, infrared_alarm,
                        // clock_set; empty for a kind without a meaning
    QString time;       // ISO 8601 local time of the controller, "2012-05-06T09:08:07"
    QString uid;        // 16 upper-case hexadecimal digits
    QString direction;  // forward, reverse, undetermined, infrared_off, no_person, or empty
    std::optional<int> forward, reverse, undetermined, tags;  // statistics
    QString clockBefore, clockAfter;                          // clock set
    QString body;  // the raw body as upper-case hexadecimal digits
};

RecordFields FieldsOf(const StoredRecord& record);

// The direction word of a passage value: 1 forward, 2 reverse, 3 undetermined, 4 infrared_off;
// empty for any other value. Live events use the same words.
QString DirectionToken(gate::Byte passage);

// Six clock bytes as "20yy-mm-ddThh:mm:ss"; the digits stand as the controller sent them.
QString IsoTimeText(const gate::Clock6& time);

}  // namespace records
