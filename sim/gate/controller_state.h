#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace sim {

using Byte = std::uint8_t;
using Clock6 = std::array<Byte, 6>;  // year within the century, month, day, hour, minute, second
using Uid8 = std::array<Byte, 8>;

enum class Mode : Byte { Channel = 0, Eas = 1 };
enum class FullPolicy { Stop, Overwrite };

// Configuration block fields, in wire order.
namespace config {
constexpr int kReaderInventory = 0;
constexpr int kCloseReaderTime = 1;
constexpr int kStatTime = 2;
constexpr int kTagOverTime = 3;
constexpr int kTagQuietTime = 4;
constexpr int kBlockMaxStayTime = 5;
constexpr int kBackRecordConfig = 6;  // 0 stop when full, anything else overwrite the earliest
constexpr int kGreenLight = 7;
}  // namespace config

constexpr int kPatternSize = 9;
constexpr int kAlarmCount = 5;
constexpr int kPatternsSize = kPatternSize * kAlarmCount;  // 45

// Everything SaveRestoreConfig saves to the background store and brings back.
struct StoredConfig {
    std::array<Byte, 8> block{30, 0, 10, 5, 2, 3, 0, 1};
    // Person-tag correlation: flags without the request bit, lead (x50 ms), lag (x1 ms).
    Byte correlationFlags = 0x28;
    Byte correlationLead = 20;
    Byte correlationLag = 100;
    // Tag-data reading: flags without the request bit, repeat count, first block, block count.
    Byte tagDataFlags = 0;
    Byte tagDataRepeat = 1;
    Byte tagDataStart = 0;
    Byte tagDataCount = 1;
    Byte irDirection = 0;  // 0 forward, 1 reverse
    Byte readerLossAlarm = 0;
    bool recordWriting = true;
    Byte alarmMask = 0x1F;
    std::array<Byte, kPatternsSize> patterns = DefaultPatterns();

    static constexpr std::array<Byte, kPatternsSize> DefaultPatterns() {
        std::array<Byte, kPatternsSize> p{};
        constexpr std::array<Byte, kPatternSize> one{1, 1, 2, 1, 1, 2, 0, 0, 1};
        for (int a = 0; a < kAlarmCount; ++a) {
            for (int i = 0; i < kPatternSize; ++i) {
                p[a * kPatternSize + i] = one[i];
            }
        }
        return p;
    }

    bool operator==(const StoredConfig&) const = default;
};

struct Identity {
    Byte product = 0x31;
    Byte major = 7;
    Byte minor = 2;
    std::array<Byte, 4> serial{0x01, 0x02, 0x03, 0x04};
};

// What the controller's own front panel would show: lamps, buzzer and relay as last driven.
struct Actuators {
    std::uint32_t relayPulses = 0;
    std::uint32_t lastRelayTime100ms = 0;
    std::array<Byte, 7> lastBuzzerAndLed{};
    std::uint32_t buzzerAndLedCommands = 0;
};

struct ControllerState {
    Identity identity;
    Byte address = 0x01;
    Mode mode = Mode::Channel;
    bool forcedEas = false;
    bool irOn = true;
    Byte readerLink = 1;  // 1 connected
    Byte rfField = 1;     // 0 off, 1 on, 2 switching on
    bool autoLoad = false;
    StoredConfig live;
    StoredConfig saved;
    Actuators actuators;
    // The record count GetBGLogDataStatus reports instead of the log's own, to play a corrupt
    // or hostile reply; nothing for the real count.
    std::optional<std::uint32_t> reportedRecordCount;

    // Mode byte as ModeSwitch reports it: 0 channel, 1 EAS, bit 1 set when EAS is forced.
    Byte ModeByte() const {
        if (forcedEas) {
            return 0x03;
        }
        return static_cast<Byte>(mode);
    }
    Mode EffectiveMode() const { return forcedEas ? Mode::Eas : mode; }
    FullPolicy Policy() const {
        return live.block[config::kBackRecordConfig] != 0 ? FullPolicy::Overwrite
                                                          : FullPolicy::Stop;
    }
};

}  // namespace sim
