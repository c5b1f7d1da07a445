#include "core/commands/alarm_values.h"

#include "core/commands/device_values.h"

#include <algorithm>

namespace commands {

QString AlarmCheckBoxName(int alarm) {
    static const std::array<int, kAlarmCount> numbers{1, 2, 3, 4, 7};
    return QStringLiteral("CheckBox%1").arg(numbers.at(static_cast<std::size_t>(alarm)));
}

QString AlarmPatternListName(int offset) {
    // Alarm 1 uses ComboBox1 then ComboBox13 to ComboBox20; the others follow on from
    // ComboBox21 in record order.
    if (offset == 0) {
        return QStringLiteral("ComboBox1");
    }
    return QStringLiteral("ComboBox%1").arg(offset + 12);
}

gate::Byte AlarmMaskSetByte(const AlarmEnables& enables) {
    gate::Byte mask = kAlarmMaskSet;
    for (int i = 0; i < kAlarmCount; ++i) {
        if (enables[static_cast<std::size_t>(i)]) {
            mask |= static_cast<gate::Byte>(1 << i);
        }
    }
    return mask;
}

AlarmEnables AlarmEnablesFromMask(gate::Byte mask) {
    AlarmEnables e{};
    for (int i = 0; i < kAlarmCount; ++i) {
        e[static_cast<std::size_t>(i)] = (mask & (1 << i)) != 0;
    }
    return e;
}

AlarmPattern AlarmPatternFromReply(const AlarmMaskReply& reply) {
    AlarmPattern p{};
    std::copy(reply.begin() + 1, reply.end(), p.begin());
    return p;
}

std::optional<AlarmPattern> AlarmPatternFromTexts(const QStringList& texts, int* badIndex) {
    AlarmPattern p{};
    for (int i = 0; i < gate::kAlarmPatternSize; ++i) {
        const auto v = i < texts.size() ? ParseDigits(texts.at(i)) : std::nullopt;
        if (!v || *v > 255) {
            if (badIndex != nullptr) {
                *badIndex = i;
            }
            return std::nullopt;
        }
        p[static_cast<std::size_t>(i)] = static_cast<gate::Byte>(*v);
    }
    return p;
}

}  // namespace commands
