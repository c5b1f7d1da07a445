#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>

namespace sim {

// A line fault that spoils the next reply (or the next few).
struct Fault {
    enum class Kind {
        Drop,        // the request is lost: not executed, no reply
        CorruptCrc,  // the reply goes out with a wrong CRC
        Truncate,    // only the first half of the reply goes out
        Garbage,     // noise bytes (start bytes among them) go out before the reply
        Delay,       // the reply goes out after `delayMs`
        Busy,        // the controller answers result 51 without executing the request
        Result,      // the controller answers result `code` without executing the request
        Disconnect,  // the line drops instead of replying (TCP: connection closed; pty: hang-up)
    };
    Kind kind = Kind::Drop;
    int delayMs = 0;
    std::uint8_t code = 0;
    // When set, the fault waits for the next request of this command (e.g. 0x1F, Acknowledge)
    // and spoils its reply; other requests pass it by.
    std::optional<std::uint8_t> onCommand = std::nullopt;
};

// Parses "drop", "corrupt-crc", "truncate", "garbage", "delay MS", "busy", "result CODE",
// "disconnect"; an optional number repeats the fault for that many replies, and a last
// "on COMMAND" (a command code, decimal or 0x hexadecimal) makes it wait for that command's
// requests. The fault goes to out and the count to count.
bool ParseFault(const QString& name, const QStringList& args, Fault& out, int& count,
                QString* error);

QString FaultName(Fault::Kind kind);

// Faults waiting for the next replies, oldest first; shared by every line of one simulator.
class FaultPlan {
public:
    void Add(const Fault& fault, int count = 1);
    // The fault spoils the reply after the next `cleanReplies` ones, which go out untouched.
    void AddAfter(int cleanReplies, const Fault& fault);
    // The plan for the next reply, to a request of this command: a fault waiting for the
    // command first, else the next in line; nothing when the reply goes out untouched.
    std::optional<Fault> TakeNext(std::uint8_t command = 0);
    void Clear() {
        pending_.clear();
        targeted_.clear();
    }
    bool Empty() const { return pending_.empty() && targeted_.empty(); }

private:
    std::deque<std::optional<Fault>> pending_;  // nullopt: a reply that goes out untouched
    std::deque<Fault> targeted_;                // faults waiting for their command
};

// The bytes that go on the line for a reply under a fault (Drop and Disconnect send none).
QByteArray SpoilReply(const QByteArray& encodedReply, const Fault& fault);

// Noise inserted by the garbage fault: stray start bytes, an impossible header, a frame with a
// wrong CRC, so that a receiver has to resynchronise on the real reply.
QByteArray GarbageBytes();

}  // namespace sim
