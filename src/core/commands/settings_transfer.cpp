#include "core/commands/settings_transfer.h"

#include "core/commands/device_values.h"
#include "core/commands/switch_values.h"
#include "util/result_text.h"

#include <functional>
#include <vector>

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

// One request of the write plan: its group, which part of the group, and the call.
struct PlannedWrite {
    QString group;
    QString part;
    std::function<std::int32_t(gate::Byte& address)> call;
};

template <typename T>
bool Differs(const std::optional<T>& wanted, const std::optional<T>& current) {
    return wanted && wanted != current;
}

gate::Byte SwitchByte(bool second) {
    return SwitchSetRequest(second);
}

void PlanTagData(std::vector<PlannedWrite>& plan, gate::GateLibrary& lib, gate::ConnectionState& c,
                 const TagDataSettings& want, const std::optional<TagDataSettings>& have) {
    const auto send = [&lib, &c, want](gate::Byte flags) {
        return [&lib, &c, want, flags](gate::Byte& a) {
            gate::Byte f = flags;
            gate::Byte repeat = want.repeat;
            gate::Byte start = want.startBlock;
            gate::Byte count = want.blockCount;
            return lib.ReadTagDataSetting(a, f, repeat, start, count, c.ReplyStatus, c.PortHandle);
        };
    };
    const gate::Byte reread = want.reread ? tagdata::kReread : 0;
    const bool blocksDiffer = !have || have->repeat != want.repeat ||
                              have->startBlock != want.startBlock ||
                              have->blockCount != want.blockCount;
    // The block settings are taken only together with block reading switched on: switch it on
    // for them, then off again when the document has it off.
    const bool twoSteps = (want.readBlocks || blocksDiffer) && !want.readBlocks;
    if (want.readBlocks || blocksDiffer) {
        plan.push_back({group::kTagData,
                        twoSteps ? QStringLiteral("block settings, reading on") : QString(),
                        send(tagdata::kSet | tagdata::kReadBlocks | reread)});
    }
    if (!want.readBlocks) {
        plan.push_back({group::kTagData, twoSteps ? QStringLiteral("reading off") : QString(),
                        send(tagdata::kSet | reread)});
    }
}

std::vector<PlannedWrite> Plan(gate::GateLibrary& lib, gate::ConnectionState& c,
                               const ControllerSettings& want, const ControllerSettings& have,
                               bool withAddress) {
    std::vector<PlannedWrite> plan;
    if (Differs(want.configuration, have.configuration)) {
        const ConfigurationBlock b = *want.configuration;
        plan.push_back({group::kConfiguration, {}, [&lib, &c, b](gate::Byte& a) {
                            return lib.ConfigureController(a, b[0], b[1], b[2], b[3], b[4], b[5],
                                                           b[6], b[7], c.ReplyStatus, c.PortHandle);
                        }});
    }
    if (Differs(want.correlation, have.correlation)) {
        const CorrelationSettings k = *want.correlation;
        gate::Byte flags = correlation::kSet;
        flags |= k.enabled ? correlation::kEnabled : 0;
        flags |= k.useDefaultTimes ? correlation::kUseDefaultTimes : 0;
        flags |= k.unique ? correlation::kUnique : 0;
        flags |= k.earlyDetection ? correlation::kEarlyDetection : 0;
        plan.push_back({group::kCorrelation, {}, [&lib, &c, flags, k](gate::Byte& a) {
                            gate::Byte f = flags;
                            gate::Byte lead = k.lead;
                            gate::Byte lag = k.lag;
                            return lib.TagPersonCorrelation(a, f, lead, lag, c.ReplyStatus,
                                                            c.PortHandle);
                        }});
    }
    if (Differs(want.tagData, have.tagData)) {
        PlanTagData(plan, lib, c, *want.tagData, have.tagData);
    }
    if (Differs(want.infraredReverse, have.infraredReverse)) {
        const gate::Byte v = SwitchByte(*want.infraredReverse);
        plan.push_back({group::kInfraredDirection, {}, [&lib, &c, v](gate::Byte& a) {
                            gate::Byte request = v;
                            return lib.IRDirectionSetting(a, request, c.ReplyStatus, c.PortHandle);
                        }});
    }
    if (Differs(want.readerLossAlarm, have.readerLossAlarm)) {
        const gate::Byte v = SwitchByte(*want.readerLossAlarm);
        plan.push_back({group::kReaderLossAlarm, {}, [&lib, &c, v](gate::Byte& a) {
                            gate::Byte request = v;
                            return lib.ControllerReaderConnectionBrokenAlarm(
                                a, request, c.ReplyStatus, c.PortHandle);
                        }});
    }
    if (Differs(want.recordWriting, have.recordWriting)) {
        const gate::Byte v = *want.recordWriting ? 1 : 0;
        plan.push_back({group::kRecordWriting, {}, [&lib, &c, v](gate::Byte& a) {
                            gate::Byte request = v;
                            return lib.SetBGLogDataStatus(a, request, c.ReplyStatus, c.PortHandle);
                        }});
    }
    if (Differs(want.alarms, have.alarms)) {
        const AlarmSettings al = *want.alarms;
        const bool mask = !have.alarms || have.alarms->enabled != al.enabled;
        const bool patterns = !have.alarms || have.alarms->patterns != al.patterns;
        if (mask) {
            plan.push_back({group::kAlarms, patterns ? QStringLiteral("mask") : QString(),
                            [&lib, &c, al](gate::Byte& a) {
                                AlarmMaskReply reply{};
                                return lib.SetAlarmMask(a, AlarmMaskSetByte(al.enabled), reply,
                                                        c.ReplyStatus, c.PortHandle);
                            }});
        }
        if (patterns) {
            plan.push_back({group::kAlarms, mask ? QStringLiteral("patterns") : QString(),
                            [&lib, &c, al](gate::Byte& a) {
                                AlarmPattern p = al.patterns;
                                return lib.SetAlarmPattern(a, p, c.ReplyStatus, c.PortHandle);
                            }});
        }
    }
    if (Differs(want.easMode, have.easMode)) {
        const gate::Byte mode = SwitchByte(*want.easMode);
        plan.push_back({group::kOperatingMode, {}, [&lib, &c, mode](gate::Byte& a) {
                            gate::Byte request = mode;
                            return lib.ModeSwitch(a, request, c.ReplyStatus, c.PortHandle);
                        }});
    }
    if (withAddress && Differs(want.address, have.address)) {
        const gate::Byte address = *want.address;
        plan.push_back({group::kAddress, {}, [&lib, &c, address](gate::Byte& a) {
                            const std::int32_t result =
                                lib.SetControllerAddr(a, 1, address, c.ReplyStatus, c.PortHandle);
                            if (result == gate::result::kOk) {
                                c.ControllerAddress = address;  // later commands go there
                            }
                            return result;
                        }});
    }
    return plan;
}

}  // namespace

QString WriteRequest::Name() const {
    return part.isEmpty() ? group : group % QStringLiteral(" (") % part % u')';
}

QStringList SettingsWrite::GroupsIn(WriteRequest::State state) const {
    using State = WriteRequest::State;
    QStringList groups;
    for (const WriteRequest& r : requests) {
        if (groups.contains(r.group)) {
            continue;
        }
        bool all = true;
        bool anyTaken = false;
        bool anyPossibly = false;
        for (const WriteRequest& other : requests) {
            if (other.group == r.group) {
                all = all && other.state == r.state;
                anyTaken = anyTaken || other.state == State::Taken;
                anyPossibly = anyPossibly || other.state == State::PossiblyTaken;
            }
        }
        const State groupState = all                         ? r.state
                                 : (anyTaken || anyPossibly) ? State::PossiblyTaken
                                                             : State::Refused;
        if (groupState == state) {
            groups << r.group;
        }
    }
    return groups;
}

SettingsWrite WriteControllerSettings(gate::GateLibrary& lib, gate::ConnectionState& c,
                                      const ControllerSettings& want,
                                      const ControllerSettings& have, bool withAddress) {
    SettingsWrite out;
    const std::vector<PlannedWrite> plan = Plan(lib, c, want, have, withAddress);
    for (const PlannedWrite& p : plan) {
        out.requests.append({p.group, p.part, WriteRequest::State::NotSent});
    }
    for (std::size_t i = 0; i < plan.size(); ++i) {
        WriteRequest& request = out.requests[static_cast<qsizetype>(i)];
        c.LastResult = plan[i].call(c.ControllerAddress);
        if (c.LastResult != gate::result::kOk) {
            request.state = NoValidReply(c.LastResult) ? WriteRequest::State::PossiblyTaken
                                                       : WriteRequest::State::Refused;
            out.result = c.LastResult;
            out.failedGroup = request.Name();
            break;
        }
        request.state = WriteRequest::State::Taken;
    }
    out.written = out.GroupsIn(WriteRequest::State::Taken);
    return out;
}

}  // namespace commands
