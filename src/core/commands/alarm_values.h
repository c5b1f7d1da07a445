#pragma once

#include "gate/gate_library.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace commands {

constexpr int kAlarmCount = 5;
constexpr int kAlarmPatternLength = 9;
static_assert(kAlarmCount * kAlarmPatternLength == gate::kAlarmPatternSize);

using AlarmEnables = std::array<bool, kAlarmCount>;  // alarm 1 to 5, mask bits 0x01 to 0x10
using AlarmPattern = std::array<gate::Byte, gate::kAlarmPatternSize>;
using AlarmMaskReply = std::array<gate::Byte, gate::kAlarmMaskReplySize>;

constexpr gate::Byte kAlarmMaskSet = 0x80;
constexpr gate::Byte kAlarmMaskQuery = 0;

// Object names of the five enable check boxes, in alarm order.
QString AlarmCheckBoxName(int alarm);
// Object name of the list that holds pattern byte n (0 to 44) of the record.
QString AlarmPatternListName(int offset);

// The set request: 0x80 with the bits of the enabled alarms.
gate::Byte AlarmMaskSetByte(const AlarmEnables& enables);
// The enables shown by a mask byte (bits 5 to 7 ignored).
AlarmEnables AlarmEnablesFromMask(gate::Byte mask);
// The pattern record carried after the mask byte of a query reply.
AlarmPattern AlarmPatternFromReply(const AlarmMaskReply& reply);

// The pattern record from the texts of the 45 selected items, in record order; nothing when one
// is not a number from 0 to 255, with its index in badIndex.
std::optional<AlarmPattern> AlarmPatternFromTexts(const QStringList& texts, int* badIndex);

}  // namespace commands
