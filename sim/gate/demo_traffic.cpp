#include "demo_traffic.h"

#include "if2_frame.h"

namespace sim {

namespace {

constexpr int kMinGapMs = 700;
constexpr int kMaxGapMs = 3000;
constexpr int kTagPool = 6;
// Passages with more events than this in one Advance are from a stalled caller: catch up
// without a burst.
constexpr int kMaxEventsPerAdvance = 4;

QByteArray Raw(const void* data, int size) {
    return QByteArray(static_cast<const char*>(data), size);
}

QByteArray U16(int v) {
    QByteArray out;
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
    return out;
}

}  // namespace

DemoTraffic::DemoTraffic(std::uint32_t seed) : rng_(seed) {
    nextEventMs_ = Uniform(300, 1200);
}

int DemoTraffic::Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng_);
}

Uid8 DemoTraffic::SomeTag() {
    const int n = Uniform(1, kTagPool);
    return Uid8{0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, static_cast<Byte>(0x70 + n)};
}

Byte DemoTraffic::Direction(const ControllerModel& model) {
    if (!model.State().irOn) {
        return 4;
    }
    const int r = Uniform(1, 100);
    return r <= 60 ? 1 : r <= 92 ? 2 : 3;
}

void DemoTraffic::Advance(std::int64_t nowMs, ControllerModel& model) {
    const int statSeconds = std::max<int>(3, model.State().live.block[config::kStatTime]);
    if (nextStatMs_ < 0) {
        nextStatMs_ = nowMs + statSeconds * 1000LL;
    }
    if (nowMs >= nextStatMs_) {
        Statistics(model);
        nextStatMs_ = nowMs + statSeconds * 1000LL;
    }
    for (int i = 0; i < kMaxEventsPerAdvance && nowMs >= nextEventMs_; ++i) {
        if (model.State().EffectiveMode() == Mode::Channel) {
            ChannelEvent(model);
        } else {
            EasEvent(model);
        }
        nextEventMs_ += Uniform(kMinGapMs, kMaxGapMs);
    }
    if (nowMs >= nextEventMs_) {
        nextEventMs_ = nowMs + Uniform(kMinGapMs, kMaxGapMs);
    }
}

void DemoTraffic::ChannelEvent(ControllerModel& model) {
    const Clock6 now = model.Now();
    const QByteArray time = Raw(now.data(), 6);
    const int r = Uniform(1, 100);
    if (r <= 55) {
        // A person with a tag; with tag-data reading on (or now and then) the blocks come along.
        const Uid8 uid = SomeTag();
        Byte passage = Direction(model);
        const Byte dir = passage;
        QByteArray data;
        const StoredConfig& c = model.State().live;
        if ((c.tagDataFlags & 0x01) || Uniform(1, 100) <= 30) {
            const int count = (c.tagDataFlags & 0x01) ? c.tagDataCount : 2;
            const QByteArray blocks = model.TagBlocks(uid, c.tagDataStart, count, 4);
            for (int b = 0; b < count; ++b) {
                data += blocks.mid(b * 5 + 1, 4);  // tag data without the status bytes
            }
            passage |= 0x30;
        }
        model.ChannelEvent(
            0, Raw(uid.data(), 8) + QByteArray(1, static_cast<char>(passage)) + time + data);
        model.EmitIf2(If2TagReport(uid, now));
        ++tags_;
        (dir == 1 ? forward_ : dir == 2 ? reverse_ : undetermined_)++;
    } else if (r <= 75) {
        // A person without a tag.
        const Byte dir = Direction(model);
        model.ChannelEvent(0, QByteArray(8, '\0') + QByteArray(1, static_cast<char>(dir)) + time);
        (dir == 1 ? forward_ : dir == 2 ? reverse_ : undetermined_)++;
    } else if (r <= 85) {
        const Uid8 uid = SomeTag();
        model.ChannelEvent(2, Raw(uid.data(), 8) + time + QByteArray(1, '\0'));
        ++tags_;
    } else if (r <= 93) {
        model.ChannelEvent(3, time);
    } else if (model.State().irOn) {
        model.ChannelEvent(4, time);
    }
}

void DemoTraffic::EasEvent(ControllerModel& model) {
    const Clock6 now = model.Now();
    const QByteArray time = Raw(now.data(), 6);
    const int r = Uniform(1, 100);
    if (r <= 70) {
        Byte status = model.State().irOn ? Direction(model) : 0;
        if (Uniform(1, 100) <= 20) {
            status = model.State().irOn ? 4 : 5;  // an EAS tag went through
        } else if (Uniform(1, 100) <= 15) {
            status = 0;
        }
        model.PushEasMessage(0x00, QByteArray(1, static_cast<char>(status)) + time);
        if (status >= 1 && status <= 3) {
            (status == 1 ? forward_ : status == 2 ? reverse_ : undetermined_)++;
        }
    } else if (r <= 85) {
        model.PushEasMessage(0x21, time);
    } else if (model.State().irOn) {
        model.PushEasMessage(0x22, time);
    }
}

void DemoTraffic::Statistics(ControllerModel& model) {
    const Clock6 now = model.Now();
    const QByteArray time = Raw(now.data(), 6);
    const QByteArray counts = U16(forward_) + U16(reverse_) + U16(undetermined_);
    if (model.State().EffectiveMode() == Mode::Channel) {
        model.ChannelEvent(1, counts + U16(tags_) + time);
    } else {
        model.PushEasMessage(0x20, counts + time);
    }
    forward_ = reverse_ = undetermined_ = tags_ = 0;
}

}  // namespace sim
