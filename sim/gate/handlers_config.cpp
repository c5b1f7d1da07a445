// Configuration block, person-tag correlation, tag-data settings, address, option switches,
// the background store of the configuration, and the alarm mask and patterns.

#include "controller_model.h"
#include "result_codes.h"

namespace sim {

namespace {

constexpr Byte kWriteBit = 0x80;

QByteArray Bytes(std::initializer_list<Byte> bytes) {
    QByteArray out;
    for (Byte b : bytes) {
        out.append(static_cast<char>(b));
    }
    return out;
}

Byte At(const QByteArray& p, int i) {
    return static_cast<Byte>(p[i]);
}

bool InRange(Byte v, int low, int high) {
    return v >= low && v <= high;
}

}  // namespace

ControllerModel::Outcome ControllerModel::Configure(const QByteArray& p) {
    if (p.size() != 8) {
        return Fail(code::kInvalidCommand);
    }
    // The controller refuses timings it cannot run with, as the console's lists never offer.
    if (At(p, config::kReaderInventory) < 30 || At(p, config::kStatTime) < 3 ||
        !InRange(At(p, config::kTagOverTime), 1, 15) ||
        !InRange(At(p, config::kTagQuietTime), 1, 15) || At(p, config::kBlockMaxStayTime) < 3) {
        return Fail(code::kInvalidCommand);
    }
    for (int i = 0; i < 8; ++i) {
        state_.live.block[i] = At(p, i);
    }
    Log(QStringLiteral("configuration block set"));
    return Ok();
}

ControllerModel::Outcome ControllerModel::GetConfig(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    return Ok(QByteArray(reinterpret_cast<const char*>(state_.live.block.data()), 8));
}

ControllerModel::Outcome ControllerModel::Correlation(const QByteArray& p) {
    if (p.size() != 3) {
        return Fail(code::kInvalidCommand);
    }
    StoredConfig& c = state_.live;
    const Byte flags = At(p, 0);
    if (flags & kWriteBit) {
        c.correlationFlags = flags & 0x7F;
        const bool defaults = (flags & 0x20) != 0;
        c.correlationLead = defaults ? 20 : At(p, 1);
        c.correlationLag = defaults ? 100 : At(p, 2);
        Log(QStringLiteral("person-tag correlation set"));
    }
    return Ok(Bytes({c.correlationFlags, c.correlationLead, c.correlationLag}));
}

ControllerModel::Outcome ControllerModel::TagDataSetting(const QByteArray& p) {
    if (p.size() != 4) {
        return Fail(code::kInvalidCommand);
    }
    StoredConfig& c = state_.live;
    const Byte flags = At(p, 0);
    if (flags & kWriteBit) {
        const bool readBlocks = (flags & 0x01) != 0;
        if (readBlocks) {
            if (!InRange(At(p, 1), 1, 5) || !InRange(At(p, 3), 1, 6)) {
                return Fail(code::kInvalidCommand);
            }
            c.tagDataRepeat = At(p, 1);
            c.tagDataStart = At(p, 2);
            c.tagDataCount = At(p, 3);
        }
        // Without block reading the console sends zeros: the block settings are kept.
        c.tagDataFlags = flags & 0x7F;
        Log(QStringLiteral("tag-data reading set"));
    }
    return Ok(Bytes({c.tagDataFlags, c.tagDataRepeat, c.tagDataStart, c.tagDataCount}));
}

ControllerModel::Outcome ControllerModel::Address(const QByteArray& p) {
    if (p.size() != 2 || At(p, 0) > 1) {
        return Fail(code::kInvalidCommand);
    }
    if (At(p, 0) == 1) {
        // 0xFF is the broadcast address and can never be a controller's own.
        if (At(p, 1) == 0xFF) {
            return Fail(code::kInvalidCommand);
        }
        state_.address = At(p, 1);
        Log(QStringLiteral("address set to %1").arg(state_.address, 2, 16, QLatin1Char('0')));
    }
    return Ok(Bytes({state_.address}));
}

ControllerModel::Outcome ControllerModel::Switch(const QByteArray& p, Byte& setting) {
    if (p.size() != 1) {
        return Fail(code::kInvalidCommand);
    }
    const Byte request = At(p, 0);
    if (request != 0) {
        if (request != 0x80 && request != 0x81) {
            return Fail(code::kInvalidCommand);
        }
        setting = request & 0x01;
    }
    return Ok(Bytes({setting}));
}

ControllerModel::Outcome ControllerModel::SetRecording(const QByteArray& p) {
    // Always a write: the console sends 0 (off) or 1 (on) and reads the state with
    // GetBGLogDataRecordingStatus; 0x80 plus the value is taken as the same write.
    if (p.size() != 1 || (At(p, 0) & 0x7F) > 1) {
        return Fail(code::kInvalidCommand);
    }
    const bool on = (At(p, 0) & 0x01) != 0;
    if (on != state_.live.recordWriting) {
        state_.live.recordWriting = on;
        Log(on ? QStringLiteral("record writing on") : QStringLiteral("record writing off"));
    }
    return Ok(Bytes({static_cast<Byte>(on ? 1 : 0)}));
}

ControllerModel::Outcome ControllerModel::SaveRestore(const QByteArray& p) {
    if (p.size() != 1 || At(p, 0) > 1) {
        return Fail(code::kInvalidCommand);
    }
    if (At(p, 0) == 1) {
        state_.saved = state_.live;
        Log(QStringLiteral("configuration saved"));
    } else {
        state_.live = state_.saved;
        Log(QStringLiteral("configuration restored"));
    }
    return Ok();
}

ControllerModel::Outcome ControllerModel::AutoLoad(const QByteArray& p) {
    if (p.size() != 1 || At(p, 0) > 1) {
        return Fail(code::kInvalidCommand);
    }
    state_.autoLoad = At(p, 0) == 1;
    Log(state_.autoLoad ? QStringLiteral("automatic loading on")
                        : QStringLiteral("automatic loading off"));
    return Ok();
}

ControllerModel::Outcome ControllerModel::AlarmMask(const QByteArray& p) {
    if (p.size() != 1) {
        return Fail(code::kInvalidCommand);
    }
    StoredConfig& c = state_.live;
    if (At(p, 0) & kWriteBit) {
        c.alarmMask = At(p, 0) & 0x1F;
        Log(QStringLiteral("alarm mask set to %1").arg(c.alarmMask, 2, 16, QLatin1Char('0')));
    }
    QByteArray out = Bytes({c.alarmMask});
    out.append(reinterpret_cast<const char*>(c.patterns.data()), kPatternsSize);
    return Ok(out);
}

ControllerModel::Outcome ControllerModel::AlarmPattern(const QByteArray& p) {
    if (p.size() != kPatternsSize) {
        return Fail(code::kInvalidCommand);
    }
    StoredConfig& c = state_.live;
    for (int i = 0; i < kPatternsSize; ++i) {
        c.patterns[i] = At(p, i);
    }
    Log(QStringLiteral("alarm patterns set"));
    return Ok(QByteArray(reinterpret_cast<const char*>(c.patterns.data()), kPatternsSize));
}

}  // namespace sim
