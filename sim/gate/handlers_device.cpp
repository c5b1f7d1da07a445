// Identity, operating mode and the one-shot device commands.

#include "controller_model.h"
#include "result_codes.h"

namespace sim {

namespace {

QByteArray Bytes(std::initializer_list<Byte> bytes) {
    QByteArray out;
    for (Byte b : bytes) {
        out.append(static_cast<char>(b));
    }
    return out;
}

QByteArray ClockBytes(const Clock6& c) {
    return QByteArray(reinterpret_cast<const char*>(c.data()), static_cast<qsizetype>(c.size()));
}

}  // namespace

ControllerModel::Outcome ControllerModel::GetInfo(const QByteArray& p, bool detailed) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    const Identity& id = state_.identity;
    QByteArray out = Bytes({id.product, id.major, id.minor});
    if (detailed) {
        out.append(reinterpret_cast<const char*>(id.serial.data()), 4);
    }
    return Ok(out);
}

ControllerModel::Outcome ControllerModel::SwitchMode(const QByteArray& p) {
    if (p.size() != 1) {
        return Fail(code::kInvalidCommand);
    }
    const Byte request = static_cast<Byte>(p[0]);
    if (request != 0) {
        if (request != 0x80 && request != 0x81) {
            return Fail(code::kInvalidCommand);
        }
        if (state_.forcedEas) {
            return Fail(code::kForcedEas);
        }
        const Mode wanted = request == 0x81 ? Mode::Eas : Mode::Channel;
        if (wanted != state_.mode) {
            state_.mode = wanted;
            // What the last fetch delivered belonged to the other mode's queue.
            delivered_ = Delivered::Nothing;
            Log(wanted == Mode::Eas ? QStringLiteral("mode: EAS")
                                    : QStringLiteral("mode: channel management"));
        }
    }
    return Ok(Bytes({state_.ModeByte()}));
}

ControllerModel::Outcome ControllerModel::ClearBuffer(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    channel_.Clear();
    eas_.Clear();
    if (delivered_ != Delivered::Record) {
        delivered_ = Delivered::Nothing;
    }
    Log(QStringLiteral("live message queues cleared"));
    return Ok();
}

ControllerModel::Outcome ControllerModel::DeleteAllRecords(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    records_.Clear();
    if (delivered_ == Delivered::Record) {
        delivered_ = Delivered::Nothing;
    }
    Log(QStringLiteral("all records deleted"));
    return Ok();
}

ControllerModel::Outcome ControllerModel::Relay(const QByteArray& p) {
    if (p.size() != 4) {
        return Fail(code::kInvalidCommand);
    }
    const std::uint32_t time = static_cast<Byte>(p[0]) | (static_cast<Byte>(p[1]) << 8) |
                               (static_cast<Byte>(p[2]) << 16) |
                               (static_cast<std::uint32_t>(static_cast<Byte>(p[3])) << 24);
    state_.actuators.lastRelayTime100ms = time;
    ++state_.actuators.relayPulses;
    Log(QStringLiteral("relay: pull in for %1 x 100 ms").arg(time));
    return Ok();
}

ControllerModel::Outcome ControllerModel::BuzzerAndLed(const QByteArray& p) {
    if (p.size() != 7) {
        return Fail(code::kInvalidCommand);
    }
    auto& a = state_.actuators;
    for (int i = 0; i < 7; ++i) {
        a.lastBuzzerAndLed[i] = static_cast<Byte>(p[i]);
    }
    ++a.buzzerAndLedCommands;
    const auto& v = a.lastBuzzerAndLed;
    Log(QStringLiteral("buzzer: on %1 off %2 x 100 ms, %3 beeps; %4 LED: on %5 off %6 x 100 ms, "
                       "%7 flashes")
            .arg(v[0])
            .arg(v[1])
            .arg(v[2])
            .arg(v[6] == 0 ? QStringLiteral("red") : QStringLiteral("green"))
            .arg(v[3])
            .arg(v[4])
            .arg(v[5]));
    return Ok();
}

ControllerModel::Outcome ControllerModel::SetClockCommand(const QByteArray& p) {
    if (p.size() != 6) {
        return Fail(code::kInvalidCommand);
    }
    Clock6 wanted{};
    for (int i = 0; i < 6; ++i) {
        wanted[i] = static_cast<Byte>(p[i]);
    }
    const Clock6 before = Now();
    if (!SetClock(wanted)) {
        return Fail(code::kInvalidCommand);
    }
    const Clock6 after = Now();
    AppendRecord(8, ClockBytes(before) + ClockBytes(after));
    Log(QStringLiteral("clock set to %1").arg(NowDateTime().toString(Qt::ISODate)));
    return Ok(ClockBytes(after));
}

ControllerModel::Outcome ControllerModel::GetClock(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    return Ok(ClockBytes(Now()));
}

ControllerModel::Outcome ControllerModel::SetIr(const QByteArray& p) {
    if (p.size() != 1 || (p[0] != 1 && p[0] != 2)) {
        return Fail(code::kInvalidCommand);
    }
    state_.irOn = p[0] == 2;
    Log(state_.irOn ? QStringLiteral("infrared on") : QStringLiteral("infrared off"));
    return Ok();
}

ControllerModel::Outcome ControllerModel::GetIrStatus(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    return Ok(Bytes({static_cast<Byte>(state_.irOn ? 1 : 0)}));
}

ControllerModel::Outcome ControllerModel::GetRecordingStatus(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    return Ok(Bytes({static_cast<Byte>(state_.live.recordWriting ? 1 : 0)}));
}

ControllerModel::Outcome ControllerModel::GetReaderStatus(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    return Ok(Bytes({state_.readerLink, state_.rfField}));
}

}  // namespace sim
