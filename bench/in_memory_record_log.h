#pragma once

#include "gate/unconnected_gate_library.h"

#include <algorithm>
#include <array>
#include <vector>

namespace bench {

// A gate library whose controller is a record log in memory: it measures what the console
// itself spends per exported record (formatting, GBK encoding, file writing), without any link.
// Everything but the record operations answers as a library with no link does.
class InMemoryRecordLog final : public gate::UnconnectedGateLibrary {
public:
    using Byte = gate::Byte;

    explicit InMemoryRecordLog(int count) {
        // A mix of the kinds a busy gate logs: mostly passages, some time-outs and statistics.
        for (int i = 0; i < count; ++i) {
            Record r;
            const auto sec = static_cast<Byte>(i % 60);
            switch (i % 8) {
                case 5:
                    r.kind = 2;
                    r.body = {0xE0,    0x04, 0x01, 0x00, 0x12, 0x34, 0x56,
                              Byte(i), 24,   5,    6,    9,    8,    sec};
                    r.length = 14;
                    break;
                case 6:
                    r.kind = 3;
                    r.body = {24, 5, 6, 9, 8, sec};
                    r.length = 6;
                    break;
                case 7:
                    r.kind = 1;
                    r.body = {Byte(i), 1, 2, 0, 3, 0, 9, 0, 24, 5, 6, 9, 8, sec};
                    r.length = 14;
                    break;
                default:
                    r.kind = 0;
                    r.body = {0xE0,
                              0x04,
                              0x01,
                              0x00,
                              Byte(i >> 8),
                              Byte(i),
                              0x56,
                              0x78,
                              Byte(1 + i % 3),
                              24,
                              5,
                              6,
                              9,
                              8,
                              sec};
                    r.length = 15;
                    break;
            }
            records_.push_back(r);
        }
    }

    std::int32_t RetrieveRecordByIndex(Byte&, std::int32_t index, std::span<Byte> buffer,
                                       Byte& length, Byte& kind, Byte& s, std::int32_t) override {
        if (index < 1 || index > static_cast<std::int32_t>(records_.size())) {
            return gate::result::kIndexOutOfRange;
        }
        const Record& r = records_[static_cast<std::size_t>(index - 1)];
        const auto n = std::min<std::size_t>(buffer.size(), r.length);
        std::copy_n(r.body.begin(), n, buffer.begin());
        length = static_cast<Byte>(n);
        kind = r.kind;
        s = 0;
        return gate::result::kOk;
    }
    std::int32_t GetBGLogDataStatus(Byte&, std::int32_t& count, gate::Clock6& earliest,
                                    gate::Clock6& latest, Byte& s, std::int32_t) override {
        count = static_cast<std::int32_t>(records_.size());
        earliest = {24, 5, 6, 0, 0, 0};
        latest = {24, 5, 6, 9, 8, 59};
        s = 0;
        return gate::result::kOk;
    }
    std::int32_t DeleteAllRecord(Byte&, Byte& s, std::int32_t) override {
        records_.clear();
        s = 0;
        return gate::result::kOk;
    }

private:
    struct Record {
        Byte kind = 0;
        std::array<Byte, gate::kRecordBufferSize> body{};
        std::size_t length = 0;
    };
    std::vector<Record> records_;
};

}  // namespace bench
