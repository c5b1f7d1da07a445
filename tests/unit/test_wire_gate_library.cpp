#include <QTest>

#include "gate/wire_commands.h"
#include "gate/wire_frame.h"
#include "gate/wire_gate_library.h"
#include "memory_link.h"

#include <memory>

// How the library turns what comes back from the line into results and outputs: faults,
// controller codes, sequence numbers, clamping into the caller's buffers.
using gate::Byte;
using gate::WireGateLibrary;
using gate::wire::Reply;
using gate::wire::Request;
using testing_support::MemoryLink;
namespace result = gate::result;

namespace {

constexpr std::int32_t kHandle = 3;
constexpr Byte kInfo = gate::wire::Code(gate::wire::Command::GetControllerInfo);

struct Fixture {
    explicit Fixture(MemoryLink::Responder responder) : library(gate::ComPortTable()) {
        auto owned = std::make_unique<MemoryLink>(std::move(responder));
        link = owned.get();
        library.AttachLink(std::move(owned), kHandle);
    }
    WireGateLibrary library;
    MemoryLink* link = nullptr;
};

QByteArray reply(Byte sequence, Byte result, Byte status, const QByteArray& payload,
                 Byte command = kInfo, Byte address = 0x01) {
    return gate::wire::EncodeReply(Reply{address, command, sequence, result, status, payload});
}

QByteArray damaged(QByteArray frame) {
    frame[frame.size() - 1] = char(frame[frame.size() - 1] ^ 0x40);
    return frame;
}

}  // namespace

class TestWireGateLibrary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // GetControllerInfo to address 0x01 answered by the given bytes.
    void replyHandling_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("expectedResult");
        QTest::addColumn<int>("expectedStatus");   // -1: S keeps its value
        QTest::addColumn<int>("expectedProduct");  // -1: output untouched

        const QByteArray good = reply(0, 0, 1, QByteArray::fromHex("310702"));
        QTest::newRow("clean reply") << good << 0 << 1 << 0x31;
        QTest::newRow("controller code passes through, outputs kept")
            << reply(0, 9, 3, {}) << 9 << 3 << -1;
        QTest::newRow("no record code") << reply(0, 5, 0, {}) << 5 << 0 << -1;
        QTest::newRow("busy") << reply(0, 51, 2, {}) << 51 << 2 << -1;
        QTest::newRow("payload too long is a length error")
            << reply(0, 0, 2, QByteArray::fromHex("31070200")) << 50 << 2 << -1;
        QTest::newRow("payload too short is a length error")
            << reply(0, 0, 2, QByteArray::fromHex("31")) << 50 << 2 << -1;
        QTest::newRow("damaged matching reply is a CRC error") << damaged(good) << 49 << -1 << -1;
        QTest::newRow("garbage before the reply")
            << QByteArray(QByteArray::fromHex("00135a77a5ff") + good) << 0 << 1 << 0x31;
        QTest::newRow("damaged frame then the good one") << damaged(good) + good << 0 << 1 << 0x31;
        QTest::newRow("reply to another command is not the answer")
            << reply(0, 0, 1, QByteArray::fromHex("01"), 0x0B) << 48 << -1 << -1;
        QTest::newRow("reply from another controller is not the answer")
            << reply(0, 0, 1, QByteArray::fromHex("310702"), kInfo, 0x02) << 48 << -1 << -1;
        QTest::newRow("silence") << QByteArray() << 48 << -1 << -1;
        QTest::newRow("half a reply") << good.left(8) << 48 << -1 << -1;
    }
    void replyHandling() {
        QFETCH(QByteArray, answer);
        QFETCH(int, expectedResult);
        QFETCH(int, expectedStatus);
        QFETCH(int, expectedProduct);
        Fixture f([&](const Request&) { return answer; });
        Byte a = 0x01;
        Byte product = 0xEE;
        Byte major = 0;
        Byte minor = 0;
        Byte s = 0x77;
        QCOMPARE(f.library.GetControllerInfo(a, product, major, minor, s, kHandle), expectedResult);
        QCOMPARE(int(s), expectedStatus < 0 ? 0x77 : expectedStatus);
        QCOMPARE(int(product), expectedProduct < 0 ? 0xEE : expectedProduct);
        QCOMPARE(int(a), 0x01);
    }

    // A reply to a request that timed out arrives while the next one waits: it is dropped and
    // the next request gets its own answer.
    void lateReplyIsNotTakenForTheNextAnswer() {
        Fixture f([](const Request& r) -> QByteArray {
            if (r.sequence == 0) {
                return QByteArray();  // too late: comes with the next request's answer
            }
            return reply(0, 0, 0, QByteArray::fromHex("aa0101")) +
                   reply(r.sequence, 0, 0, QByteArray::fromHex("310702"));
        });
        Byte a = 0xFF;
        Byte p = 0;
        Byte ma = 0;
        Byte mi = 0;
        Byte s = 0;
        QCOMPARE(f.library.GetControllerInfo(a, p, ma, mi, s, kHandle), result::kCommError);
        QCOMPARE(f.library.GetControllerInfo(a, p, ma, mi, s, kHandle), result::kOk);
        QCOMPARE(int(p), 0x31);
    }

    // Bytes still buffered from an earlier exchange are dropped before the next request.
    void staleBytesAreDroppedBeforeARequest() {
        Fixture f([](const Request& r) {
            return reply(r.sequence, 0, 0, QByteArray::fromHex("310702"));
        });
        f.link->Deliver(reply(0, 0, 0, QByteArray::fromHex("aa0101")));
        Byte a = 0xFF;
        Byte p = 0;
        Byte ma = 0;
        Byte mi = 0;
        Byte s = 0;
        QCOMPARE(f.library.GetControllerInfo(a, p, ma, mi, s, kHandle), result::kOk);
        QCOMPARE(int(p), 0x31);
    }

    void sequenceNumbersCountAndWrap() {
        Fixture f([](const Request& r) { return reply(r.sequence, 0, 0, {}, r.command, 0x01); });
        Byte a = 0x01;
        Byte s = 0;
        for (int i = 0; i < 258; ++i) {
            QCOMPARE(f.library.ClearControllerBuffer(a, s, kHandle), result::kOk);
        }
        const auto& requests = f.link->Requests();
        QCOMPARE(requests.size(), 258);
        QCOMPARE(int(requests[1].sequence), 1);
        QCOMPARE(int(requests[255].sequence), 255);
        QCOMPARE(int(requests[256].sequence), 0);
        QCOMPARE(int(requests[257].sequence), 1);
    }

    // An address change sent to 0x01 asking for 0x22: the reply may come from either address
    // (the payload is the controller's address afterwards), never from a third one; a read
    // takes only the address asked.
    void addressChangeReply_data() {
        QTest::addColumn<int>("writeOrRead");
        QTest::addColumn<int>("replyFrom");
        QTest::addColumn<int>("expectedResult");
        QTest::addColumn<int>("expectedAddress");
        QTest::newRow("write answered from the new address") << 1 << 0x22 << 0 << 0x22;
        QTest::newRow("write answered from the old address") << 1 << 0x01 << 0 << 0x22;
        QTest::newRow("write answered from a third address") << 1 << 0x33 << 48 << 0x01;
        QTest::newRow("read answered from another address") << 0 << 0x22 << 48 << 0x01;
    }
    void addressChangeReply() {
        QFETCH(int, writeOrRead);
        QFETCH(int, replyFrom);
        QFETCH(int, expectedResult);
        QFETCH(int, expectedAddress);
        Fixture f([&](const Request& r) {
            return reply(r.sequence, 0, 0, QByteArray(1, '\x22'), r.command, Byte(replyFrom));
        });
        Byte a = 0x01;
        Byte s = 0;
        QCOMPARE(f.library.SetControllerAddr(a, Byte(writeOrRead), 0x22, s, kHandle),
                 expectedResult);
        QCOMPARE(int(a), expectedAddress);
    }

    // A body longer than the caller's buffer is cut to it; nothing past the buffer is written.
    void fetchBodyIsCutToTheBuffer() {
        const QByteArray body(47, '\x5c');
        Fixture f([&](const Request& r) {
            return reply(r.sequence, 0, 0, QByteArray(QByteArray(1, '\0') + body), r.command);
        });
        std::array<Byte, 16> storage{};
        storage.fill(0xEE);
        Byte a = 0x01;
        Byte length = 0;
        Byte kind = 9;
        Byte s = 0;
        QCOMPARE(
            f.library.GetChannelMessage(a, std::span(storage).first(10), length, kind, s, kHandle),
            result::kOk);
        QCOMPARE(int(length), 10);
        QCOMPARE(int(kind), 0);
        QCOMPARE(int(storage[9]), 0x5C);
        QCOMPARE(int(storage[10]), 0xEE);
    }

    // Replies whose payload cannot belong to the operation.
    void operationLengthRules_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("record body longer than a record") << 0 << QByteArray(19, '\0');
        QTest::newRow("message body longer than a message") << 1 << QByteArray(49, '\0');
        QTest::newRow("fetch without its kind byte") << 1 << QByteArray();
        QTest::newRow("tag blocks of the wrong total") << 2 << QByteArray(9, '\0');
        QTest::newRow("record status cut short") << 3 << QByteArray(15, '\0');
    }
    void operationLengthRules() {
        QFETCH(int, operation);
        QFETCH(QByteArray, payload);
        Fixture f([&](const Request& r) { return reply(r.sequence, 0, 1, payload, r.command); });
        Byte a = 0x01;
        Byte s = 0;
        std::array<Byte, 80> buffer{};
        Byte length = 0;
        Byte kind = 0;
        int r = -1;
        if (operation == 0) {
            r = f.library.RetrieveRecordByIndex(a, 1, std::span(buffer).first(17), length, kind, s,
                                                kHandle);
        } else if (operation == 1) {
            r = f.library.GetChannelMessage(a, std::span(buffer).first(47), length, kind, s,
                                            kHandle);
        } else if (operation == 2) {
            gate::Uid8 uid{};
            r = f.library.ReadTagData(a, uid, 0, 2, 4, buffer, s, kHandle);
        } else {
            std::int32_t count = 0;
            gate::Clock6 e{};
            gate::Clock6 l{};
            r = f.library.GetBGLogDataStatus(a, count, e, l, s, kHandle);
        }
        QCOMPARE(r, result::kLengthError);
        QCOMPARE(int(s), 1);
    }

    // A call for a handle that is not the open link's never reaches the line.
    void foreignHandleAnswersCommError() {
        Fixture f([](const Request& r) { return reply(r.sequence, 0, 0, {}, r.command); });
        Byte a = 0x01;
        Byte s = 0;
        QCOMPARE(f.library.ClearControllerBuffer(a, s, -1), result::kCommError);
        QCOMPARE(f.library.ClearControllerBuffer(a, s, kHandle + 1), result::kCommError);
        QVERIFY(f.link->Written().isEmpty());
        QCOMPARE(f.library.CloseComPort(), result::kOk);  // not a serial link: left open
        QCOMPARE(f.library.ClearControllerBuffer(a, s, kHandle), result::kOk);
    }

    void nothingOpenAnswersCommError() {
        WireGateLibrary library{gate::ComPortTable()};
        Byte a = 0xFF;
        Byte s = 0;
        std::array<Byte, 8> buffer{};
        std::int32_t count = 5;
        QCOMPARE(library.ClearControllerBuffer(a, s, -1), result::kCommError);
        QCOMPARE(library.Acknowledge(a, 6000), result::kCommError);
        QCOMPARE(library.GetIF2Data(buffer, count), result::kCommError);
        QCOMPARE(count, 0);
        std::int32_t handle = -1;
        QCOMPARE(library.OpenComPort(4, a, handle), result::kCommError);  // no device for COM4
        QCOMPARE(handle, -1);
        QCOMPARE(library.CloseIF2(4), result::kCommError);
    }
};

QTEST_GUILESS_MAIN(TestWireGateLibrary)
#include "test_wire_gate_library.moc"
