#include "fault_plan.h"

#include <QStringList>

namespace sim {

namespace {

struct FaultNameEntry {
    const char* name;
    Fault::Kind kind;
};
constexpr FaultNameEntry kFaultNames[] = {
    {"drop", Fault::Kind::Drop},         {"corrupt-crc", Fault::Kind::CorruptCrc},
    {"truncate", Fault::Kind::Truncate}, {"garbage", Fault::Kind::Garbage},
    {"delay", Fault::Kind::Delay},       {"busy", Fault::Kind::Busy},
    {"result", Fault::Kind::Result},     {"disconnect", Fault::Kind::Disconnect},
};

constexpr int kMaxRepeat = 1000;
constexpr int kMaxDelayMs = 60000;

bool ToInt(const QString& text, int low, int high, int& out) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high) {
        return false;
    }
    out = v;
    return true;
}

}  // namespace

bool ParseFault(const QString& name, const QStringList& args, Fault& out, int& count,
                QString* error) {
    auto fail = [error](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    bool known = false;
    Fault f;
    for (const auto& n : kFaultNames) {
        if (name == QLatin1String(n.name)) {
            f.kind = n.kind;
            known = true;
        }
    }
    if (!known) {
        return fail(QStringLiteral("unknown fault \"%1\"").arg(name));
    }
    int next = 0;
    if (f.kind == Fault::Kind::Delay) {
        if (args.size() <= next || !ToInt(args[next], 0, kMaxDelayMs, f.delayMs)) {
            return fail(QStringLiteral("delay needs a time of 0 to %1 ms").arg(kMaxDelayMs));
        }
        ++next;
    } else if (f.kind == Fault::Kind::Result) {
        int code = 0;
        if (args.size() <= next || !ToInt(args[next], 1, 255, code)) {
            return fail(QStringLiteral("result needs a code of 1 to 255"));
        }
        f.code = static_cast<std::uint8_t>(code);
        ++next;
    }
    count = 1;
    if (args.size() > next) {
        if (!ToInt(args[next], 1, kMaxRepeat, count)) {
            return fail(QStringLiteral("repeat count must be 1 to %1").arg(kMaxRepeat));
        }
        ++next;
    }
    if (args.size() > next + 1 && args[next] == QLatin1String("on")) {
        bool ok = false;
        const uint command = args[next + 1].toUInt(&ok, 0);
        if (!ok || command > 0xFF) {
            return fail(QStringLiteral("on needs a command code of 0 to 0xFF"));
        }
        f.onCommand = static_cast<std::uint8_t>(command);
        next += 2;
    }
    if (args.size() > next) {
        return fail(QStringLiteral("too many arguments for fault \"%1\"").arg(name));
    }
    out = f;
    return true;
}

QString FaultName(Fault::Kind kind) {
    for (const auto& n : kFaultNames) {
        if (n.kind == kind) {
            return QLatin1String(n.name);
        }
    }
    return {};
}

void FaultPlan::Add(const Fault& fault, int count) {
    for (int i = 0; i < count; ++i) {
        if (fault.onCommand) {
            targeted_.push_back(fault);
        } else {
            pending_.push_back(fault);
        }
    }
}

void FaultPlan::AddAfter(int cleanReplies, const Fault& fault) {
    for (int i = 0; i < cleanReplies; ++i) {
        pending_.push_back(std::nullopt);
    }
    pending_.push_back(fault);
}

std::optional<Fault> FaultPlan::TakeNext(std::uint8_t command) {
    for (auto it = targeted_.begin(); it != targeted_.end(); ++it) {
        if (*it->onCommand == command) {
            const Fault f = *it;
            targeted_.erase(it);
            return f;
        }
    }
    if (pending_.empty()) {
        return std::nullopt;
    }
    std::optional<Fault> f = pending_.front();
    pending_.pop_front();
    return f;
}

QByteArray GarbageBytes() {
    // A lone start byte, one with an impossible length, and a whole frame with a bad CRC.
    QByteArray g = QByteArray::fromHex("00135a5a01010101 01ff");
    g += QByteArray::fromHex("5a0101ee0000010000 00");
    return g;
}

QByteArray SpoilReply(const QByteArray& encodedReply, const Fault& fault) {
    switch (fault.kind) {
        case Fault::Kind::Drop:
        case Fault::Kind::Disconnect:
            return {};
        case Fault::Kind::CorruptCrc: {
            QByteArray bad = encodedReply;
            if (!bad.isEmpty()) {
                bad[bad.size() - 1] = static_cast<char>(bad[bad.size() - 1] ^ 0x5A);
            }
            return bad;
        }
        case Fault::Kind::Truncate:
            return encodedReply.left(encodedReply.size() / 2);
        case Fault::Kind::Garbage:
            return GarbageBytes() + encodedReply;
        case Fault::Kind::Delay:
        case Fault::Kind::Busy:
        case Fault::Kind::Result:
            return encodedReply;
    }
    return encodedReply;
}

}  // namespace sim
