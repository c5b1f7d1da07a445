#include "core/commands/settings_transfer.h"

#include "core/commands/device_values.h"
#include "core/commands/switch_values.h"
#include "util/result_text.h"

namespace commands {

namespace {

constexpr int kFullPolicy = static_cast<int>(ConfigField::BackRecordConfig);
constexpr int kGreenLight = static_cast<int>(ConfigField::GreenLight);

bool NoValidReply(std::int32_t result) {
    const int code = result & 0x3F;
    return code == 48 || code == 49 || code == 50;
}

QString RefusalText(std::int32_t result) {
    return QStringLiteral("the controller refused to report it: result %1 %2")
        .arg(result)
        .arg(util::ResultCodeText(static_cast<std::uint8_t>(result & 0xFF),
                                  util::TextTable::Source()));
}

// The calls of one read, on a copy of the address so that a read of the address does not move
// the connection.
class Reader {
public:
    Reader(gate::GateLibrary& library, gate::ConnectionState& c, SettingsRead& out)
        : lib_(library), c_(c), out_(out) {}

    // Runs one group's read; false when reading has to stop (the link failed).
    template <typename Call, typename Take>
    bool Group(const QString& name, Call call, Take take) {
        gate::Byte a = c_.ControllerAddress;
        c_.LastResult = call(a);
        if (c_.LastResult == gate::result::kOk) {
            take(a);
            return true;
        }
        if (NoValidReply(c_.LastResult)) {
            out_.linkResult = c_.LastResult;
            out_.failedGroup = name;
            return false;
        }
        out_.notRead.insert(name, RefusalText(c_.LastResult));
        return true;
    }

    gate::GateLibrary& lib_;
    gate::ConnectionState& c_;
    SettingsRead& out_;
};

bool ReadIdentity(Reader& r) {
    gate::Byte product = 0, major = 0, minor = 0;
    auto& c = r.c_;
    const bool go = r.Group(
        QStringLiteral("identity"),
        [&](gate::Byte& a) {
            return r.lib_.GetControllerInfo(a, product, major, minor, c.ReplyStatus, c.PortHandle);
        },
        [&](gate::Byte) {
            r.out_.identity.product = ProductCodeText(product);
            r.out_.identity.version = VersionText(major, minor);
        });
    r.out_.notRead.remove(QStringLiteral("identity"));
    if (!go || !AllowsDetailedInfo(major)) {
        return go;
    }
    std::array<gate::Byte, 4> serial{};
    const bool goOn = r.Group(
        QStringLiteral("identity"),
        [&](gate::Byte& a) {
            return r.lib_.GetControllerDetailedInfo(a, product, major, minor, serial, c.ReplyStatus,
                                                    c.PortHandle);
        },
        [&](gate::Byte) { r.out_.identity.serial = SerialNumberText(serial); });
    r.out_.notRead.remove(QStringLiteral("identity"));
    return goOn;
}

// Reads a two-way switch that answers in its request byte (0 reads).
template <typename Op>
bool ReadSwitch(Reader& r, const QString& name, Op op, std::optional<bool>& into) {
    gate::Byte value = kSwitchReadRequest;
    auto& c = r.c_;
    return r.Group(
        name, [&](gate::Byte& a) { return op(a, value, c.ReplyStatus, c.PortHandle); },
        [&](gate::Byte) { into = (value & 0x01) != 0; });
}

}  // namespace

SettingsRead ReadControllerSettings(gate::GateLibrary& lib, gate::ConnectionState& c) {
    SettingsRead out;
    Reader r(lib, c, out);
    ControllerSettings& s = out.settings;
    const auto run = [&]() -> bool {
        if (!ReadIdentity(r)) {
            return false;
        }
        ConfigurationBlock b{};
        if (!r.Group(
                group::kConfiguration,
                [&](gate::Byte& a) {
                    return lib.GetControllerConfig(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                                                   b[7], c.ReplyStatus, c.PortHandle);
                },
                [&](gate::Byte) {
                    // The two list settings read as the console's lists show them.
                    b[kFullPolicy] = b[kFullPolicy] != 0 ? 1 : 0;
                    b[kGreenLight] = b[kGreenLight] != 0 ? 1 : 0;
                    s.configuration = b;
                })) {
            return false;
        }
        gate::Byte flags = 0, lead = 0, lag = 0;
        if (!r.Group(
                group::kCorrelation,
                [&](gate::Byte& a) {
                    return lib.TagPersonCorrelation(a, flags, lead, lag, c.ReplyStatus,
                                                    c.PortHandle);
                },
                [&](gate::Byte) {
                    s.correlation =
                        CorrelationSettings{(flags & correlation::kEnabled) != 0,
                                            (flags & correlation::kUseDefaultTimes) != 0,
                                            (flags & correlation::kUnique) != 0,
                                            (flags & correlation::kEarlyDetection) != 0,
                                            lead,
                                            lag};
                })) {
            return false;
        }
        gate::Byte tflags = 0, repeat = 0, start = 0, count = 0;
        if (!r.Group(
                group::kTagData,
                [&](gate::Byte& a) {
                    return lib.ReadTagDataSetting(a, tflags, repeat, start, count, c.ReplyStatus,
                                                  c.PortHandle);
                },
                [&](gate::Byte) {
                    s.tagData =
                        TagDataSettings{(tflags & tagdata::kReadBlocks) != 0,
                                        (tflags & tagdata::kReread) != 0, repeat, start, count};
                })) {
            return false;
        }
        const auto ir = [&](gate::Byte& a, gate::Byte& v, gate::Byte& st, std::int32_t h) {
            return lib.IRDirectionSetting(a, v, st, h);
        };
        const auto alarm = [&](gate::Byte& a, gate::Byte& v, gate::Byte& st, std::int32_t h) {
            return lib.ControllerReaderConnectionBrokenAlarm(a, v, st, h);
        };
        const auto recording = [&](gate::Byte& a, gate::Byte& v, gate::Byte& st, std::int32_t h) {
            return lib.GetBGLogDataRecordingStatus(a, v, st, h);
        };
        if (!ReadSwitch(r, group::kInfraredDirection, ir, s.infraredReverse) ||
            !ReadSwitch(r, group::kReaderLossAlarm, alarm, s.readerLossAlarm) ||
            !ReadSwitch(r, group::kRecordWriting, recording, s.recordWriting)) {
            return false;
        }
        AlarmMaskReply reply{};
        if (!r.Group(
                group::kAlarms,
                [&](gate::Byte& a) {
                    return lib.SetAlarmMask(a, kAlarmMaskQuery, reply, c.ReplyStatus, c.PortHandle);
                },
                [&](gate::Byte) {
                    s.alarms =
                        AlarmSettings{AlarmEnablesFromMask(reply[0]), AlarmPatternFromReply(reply)};
                })) {
            return false;
        }
        gate::Byte mode = kSwitchReadRequest;
        if (!r.Group(
                group::kOperatingMode,
                [&](gate::Byte& a) { return lib.ModeSwitch(a, mode, c.ReplyStatus, c.PortHandle); },
                [&](gate::Byte) {
                    s.easMode = mode != 0;
                    out.identity.forcedEas = IsForcedEas(mode);
                })) {
            return false;
        }
        return r.Group(
            group::kAddress,
            [&](gate::Byte& a) {
                return lib.SetControllerAddr(a, 0, 0, c.ReplyStatus, c.PortHandle);
            },
            [&](gate::Byte a) { s.address = a; });
    };
    run();
    out.notRead.insert(group::kAutomaticLoading,
                       QStringLiteral("the controller has no read for this setting"));
    return out;
}

namespace {

// The calls of one write; each stores its result and says whether writing may go on.
class Writer {
public:
    Writer(gate::GateLibrary& library, gate::ConnectionState& c, SettingsWrite& out)
        : lib_(library), c_(c), out_(out) {}

    template <typename Call>
    bool Write(const QString& name, Call call) {
        c_.LastResult = call(c_.ControllerAddress);
        if (c_.LastResult != gate::result::kOk) {
            out_.result = c_.LastResult;
            out_.failedGroup = name;
            return false;
        }
        if (out_.written.isEmpty() || out_.written.last() != name) {
            out_.written.append(name);
        }
        return true;
    }

    gate::GateLibrary& lib_;
    gate::ConnectionState& c_;
    SettingsWrite& out_;
};

template <typename T>
bool Differs(const std::optional<T>& wanted, const std::optional<T>& current) {
    return wanted && wanted != current;
}

gate::Byte SwitchByte(bool second) {
    return SwitchSetRequest(second);
}

bool WriteTagData(Writer& w, const TagDataSettings& want,
                  const std::optional<TagDataSettings>& have) {
    auto& c = w.c_;
    const auto send = [&](gate::Byte flags) {
        return w.Write(group::kTagData, [&](gate::Byte& a) {
            gate::Byte f = flags;
            gate::Byte repeat = want.repeat;
            gate::Byte start = want.startBlock;
            gate::Byte count = want.blockCount;
            return w.lib_.ReadTagDataSetting(a, f, repeat, start, count, c.ReplyStatus,
                                             c.PortHandle);
        });
    };
    const gate::Byte reread = want.reread ? tagdata::kReread : 0;
    const bool blocksDiffer = !have || have->repeat != want.repeat ||
                              have->startBlock != want.startBlock ||
                              have->blockCount != want.blockCount;
    // The block settings are taken only together with block reading switched on: switch it on
    // for them, then off again when the document has it off.
    if (want.readBlocks || blocksDiffer) {
        if (!send(tagdata::kSet | tagdata::kReadBlocks | reread)) {
            return false;
        }
    }
    if (!want.readBlocks) {
        return send(tagdata::kSet | reread);
    }
    return true;
}

}  // namespace

SettingsWrite WriteControllerSettings(gate::GateLibrary& lib, gate::ConnectionState& c,
                                      const ControllerSettings& want,
                                      const ControllerSettings& have, bool withAddress) {
    SettingsWrite out;
    Writer w(lib, c, out);
    const auto run = [&]() -> bool {
        if (Differs(want.configuration, have.configuration)) {
            const ConfigurationBlock b = *want.configuration;
            if (!w.Write(group::kConfiguration, [&](gate::Byte& a) {
                    return lib.ConfigureController(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                                                   b[7], c.ReplyStatus, c.PortHandle);
                })) {
                return false;
            }
        }
        if (Differs(want.correlation, have.correlation)) {
            const CorrelationSettings& k = *want.correlation;
            gate::Byte flags = correlation::kSet;
            flags |= k.enabled ? correlation::kEnabled : 0;
            flags |= k.useDefaultTimes ? correlation::kUseDefaultTimes : 0;
            flags |= k.unique ? correlation::kUnique : 0;
            flags |= k.earlyDetection ? correlation::kEarlyDetection : 0;
            gate::Byte lead = k.lead;
            gate::Byte lag = k.lag;
            if (!w.Write(group::kCorrelation, [&](gate::Byte& a) {
                    return lib.TagPersonCorrelation(a, flags, lead, lag, c.ReplyStatus,
                                                    c.PortHandle);
                })) {
                return false;
            }
        }
        if (Differs(want.tagData, have.tagData) && !WriteTagData(w, *want.tagData, have.tagData)) {
            return false;
        }
        if (Differs(want.infraredReverse, have.infraredReverse)) {
            gate::Byte v = SwitchByte(*want.infraredReverse);
            if (!w.Write(group::kInfraredDirection, [&](gate::Byte& a) {
                    return lib.IRDirectionSetting(a, v, c.ReplyStatus, c.PortHandle);
                })) {
                return false;
            }
        }
        if (Differs(want.readerLossAlarm, have.readerLossAlarm)) {
            gate::Byte v = SwitchByte(*want.readerLossAlarm);
            if (!w.Write(group::kReaderLossAlarm, [&](gate::Byte& a) {
                    return lib.ControllerReaderConnectionBrokenAlarm(a, v, c.ReplyStatus,
                                                                     c.PortHandle);
                })) {
                return false;
            }
        }
        if (Differs(want.recordWriting, have.recordWriting)) {
            gate::Byte v = *want.recordWriting ? 1 : 0;
            if (!w.Write(group::kRecordWriting, [&](gate::Byte& a) {
                    return lib.SetBGLogDataStatus(a, v, c.ReplyStatus, c.PortHandle);
                })) {
                return false;
            }
        }
        if (Differs(want.alarms, have.alarms)) {
            const AlarmSettings& al = *want.alarms;
            if (!have.alarms || have.alarms->enabled != al.enabled) {
                AlarmMaskReply reply{};
                if (!w.Write(group::kAlarms, [&](gate::Byte& a) {
                        return lib.SetAlarmMask(a, AlarmMaskSetByte(al.enabled), reply,
                                                c.ReplyStatus, c.PortHandle);
                    })) {
                    return false;
                }
            }
            if (!have.alarms || have.alarms->patterns != al.patterns) {
                AlarmPattern patterns = al.patterns;
                if (!w.Write(group::kAlarms, [&](gate::Byte& a) {
                        return lib.SetAlarmPattern(a, patterns, c.ReplyStatus, c.PortHandle);
                    })) {
                    return false;
                }
            }
        }
        if (Differs(want.easMode, have.easMode)) {
            gate::Byte mode = SwitchByte(*want.easMode);
            if (!w.Write(group::kOperatingMode, [&](gate::Byte& a) {
                    return lib.ModeSwitch(a, mode, c.ReplyStatus, c.PortHandle);
                })) {
                return false;
            }
        }
        if (withAddress && Differs(want.address, have.address)) {
            const gate::Byte address = *want.address;
            if (!w.Write(group::kAddress, [&](gate::Byte& a) {
                    return lib.SetControllerAddr(a, 1, address, c.ReplyStatus, c.PortHandle);
                })) {
                return false;
            }
            c.ControllerAddress = address;  // later commands go to the new address
        }
        return true;
    };
    run();
    return out;
}

}  // namespace commands
