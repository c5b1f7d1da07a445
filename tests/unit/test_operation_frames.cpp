#include <QTest>

#include "gate/wire_commands.h"
#include "gate/wire_gate_library.h"
#include "memory_link.h"

#include <functional>
#include <initializer_list>
#include <memory>

// Golden frames of every controller operation: the exact request the library sends (controller
// address 0x01, first sequence number 0) and a reply (status 2) with what the library makes of
// it. The CRCs were computed apart from the library's own CRC code.
using gate::Byte;
using gate::WireGateLibrary;
using testing_support::MemoryLink;

namespace {

constexpr std::int32_t kHandle = 7;

QString hex(std::span<const Byte> bytes) {
    QString text;
    for (const Byte b : bytes) {
        text += QString::asprintf("%02x ", b);
    }
    return text;
}

QString hex(std::initializer_list<Byte> bytes) {
    return hex(std::span<const Byte>(bytes.begin(), bytes.size()));
}

// "result:" and the outputs, so a wrong result shows next to the outputs it came with.
QString out(int result, std::initializer_list<Byte> outputs) {
    return QString::number(result) + u':' + hex(outputs);
}

struct GoldenCase {
    const char* name;
    const char* request;
    const char* reply;
    const char* outputs;
    std::function<QString(WireGateLibrary&, Byte&, Byte&, std::int32_t)> call;
};

const std::vector<GoldenCase>& goldenCases() {
    static const std::vector<GoldenCase> cases = {
        {"GetControllerInfo", "a5010100007fba", "5a010100000203310702a663", "31 07 02",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte p = 0, ma = 0, mi = 0;
             const int r = g.GetControllerInfo(a, p, ma, mi, s, h);
             return out(r, {p, ma, mi});
         }},
        {"GetControllerDetailedInfo", "a5010200001b55", "5a010200000207310702123456784ef5",
         "31 07 02 12 34 56 78",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte p = 0, ma = 0, mi = 0;
             std::array<Byte, 4> sn{};
             const int r = g.GetControllerDetailedInfo(a, p, ma, mi, sn, s, h);
             return out(r, {p, ma, mi}) + hex(sn);
         }},
        {"ModeSwitch", "a50103000181e53e", "5a01030000020101974a", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte m = 0x81;
             const int r = g.ModeSwitch(a, m, s, h);
             return out(r, {m});
         }},
        {"ClearControllerBuffer", "a501040000c283", "5a0104000002009cf2", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.ClearControllerBuffer(a, s, h), {});
         }},
        {"DeleteAllRecord", "a5010500001ed9", "5a010500000200d8f9", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.DeleteAllRecord(a, s, h), {});
         }},
        {"SetRelay", "a5010600042c01000037b9", "5a01060000020014e4", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.SetRelay(a, 300, s, h), {});
         }},
        {"BuzzerAndLEDControl", "a50107000701020304050600d602", "5a01070000020050ef", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.BuzzerAndLEDControl(a, 1, 2, 3, 4, 5, 6, 0, s, h), {});
         }},
        {"SetClock", "a50108000618050609080719a8", "5a0108000002061805060908084a95",
         "18 05 06 09 08 08",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             gate::Clock6 c{24, 5, 6, 9, 8, 7};
             const int r = g.SetClock(a, c, s, h);
             return out(r, {}) + hex(c);
         }},
        {"GetClock", "a501090000bd7c", "5a0109000002061805060908072c38", "18 05 06 09 08 07",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             gate::Clock6 c{};
             const int r = g.GetClock(a, c, s, h);
             return out(r, {}) + hex(c);
         }},
        {"SetIR", "a5010a0001021571", "5a010a000002002493", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.SetIR(a, 2, s, h), {});
         }},
        {"GetIRStatus", "a5010b000005c9", "5a010b0000020101cf6b", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0;
             const int r = g.GetIRStatus(a, v, s, h);
             return out(r, {v});
         }},
        {"GetBGLogDataRecordingStatus", "a5010c00000045", "5a010c00000201011e77", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0;
             const int r = g.GetBGLogDataRecordingStatus(a, v, s, h);
             return out(r, {v});
         }},
        {"GetControllerReaderConnectionStatus", "a5010d0000dc1f", "5a010d0000020201003989", "01 00",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte l = 9, rf = 9;
             const int r = g.GetControllerReaderConnectionStatus(a, l, rf, s, h);
             return out(r, {l, rf});
         }},
        {"ConfigureController", "a5010e00080102030405060708ea0d", "5a010e0000020034be", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.ConfigureController(a, 1, 2, 3, 4, 5, 6, 7, 8, s, h), {});
         }},
        {"GetControllerConfig", "a5010f000064aa", "5a010f000002080807060504030201fc3c",
         "08 07 06 05 04 03 02 01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte b[8] = {};
             const int r =
                 g.GetControllerConfig(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], s, h);
             return out(r, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]});
         }},
        {"TagPersonCorrelation", "a501100003810506e923", "5a0110000002030105065b4a", "01 05 06",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte c = 0x81, l = 5, g2 = 6;
             const int r = g.TagPersonCorrelation(a, c, l, g2, s, h);
             return out(r, {c, l, g2});
         }},
        {"ReadTagDataSetting", "a501110004810203047c61", "5a01110000020401020304a425",
         "01 02 03 04",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte c = 0x81, rp = 2, st = 3, n = 4;
             const int r = g.ReadTagDataSetting(a, c, rp, st, n, s, h);
             return out(r, {c, rp, st, n});
         }},
        // The controller answers an address change from its new address.
        {"SetControllerAddr", "a5011200020122216e", "5a2212000002012278d4", "22",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             const int r = g.SetControllerAddr(a, 1, 0x22, s, h);
             return out(r, {a});
         }},
        {"IRDirectionSetting", "a50113000182dfcf", "5a01130000020102bc3a", "02",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0x82;
             const int r = g.IRDirectionSetting(a, v, s, h);
             return out(r, {v});
         }},
        {"ControllerReaderConnectionBrokenAlarm", "a50114000100e43f", "5a01140000020101f614", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0;
             const int r = g.ControllerReaderConnectionBrokenAlarm(a, v, s, h);
             return out(r, {v});
         }},
        {"SetBGLogDataStatus", "a50115000181deb6", "5a01150000020101dd10", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0x81;
             const int r = g.SetBGLogDataStatus(a, v, s, h);
             return out(r, {v});
         }},
        {"SetBGLogDataStatus with 1 writes 0x81", "a50115000181deb6", "5a01150000020101dd10", "01",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 1;
             const int r = g.SetBGLogDataStatus(a, v, s, h);
             return out(r, {v});
         }},
        {"SetBGLogDataStatus with 0 writes 0x80", "a5011500018057a7", "5a011500000201005401", "00",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             Byte v = 0;
             const int r = g.SetBGLogDataStatus(a, v, s, h);
             return out(r, {v});
         }},
        {"SaveRestoreConfig", "a501160001011b17", "5a0116000002005450", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.SaveRestoreConfig(a, 1, s, h), {});
         }},
        {"SetAutoLoad", "a50117000100291a", "5a011700000200105b", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             return out(g.SetAutoLoad(a, 0, s, h), {});
         }},
        {"SetAlarmMask", "a5011800013fa461",
         "5a01180000022e000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20212223242"
         "5262728292a2b2c2d732d",
         "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13 14 15 16 17 18 19 1a 1b 1c "
         "1d 1e 1f 20 21 22 23 24 25 26 27 28 29 2a 2b 2c 2d",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kAlarmMaskReplySize> rp{};
             const int r = g.SetAlarmMask(a, 0x3F, rp, s, h);
             return out(r, {}) + hex(rp);
         }},
        {"SetAlarmPattern",
         "a50119002d101112131415161718191a1b1c1d1e1f202122232425262728292a2b2c2d2e2f303132333435363"
         "738393a3b3ce814",
         "5a01190000022d404142434445464748494a4b4c4d4e4f505152535455565758595a5b5c5d5e5f60616263646"
         "5666768696a6b6c8f30",
         "40 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50 51 52 53 54 55 56 57 58 59 5a 5b 5c "
         "5d 5e 5f 60 61 62 63 64 65 66 67 68 69 6a 6b 6c",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kAlarmPatternSize> p{};
             for (std::size_t i = 0; i < p.size(); ++i) {
                 p[i] = Byte(0x10 + i);
             }
             const int r = g.SetAlarmPattern(a, p, s, h);
             return out(r, {}) + hex(p);
         }},
        {"GetChannelMessage", "a5011a00004c16",
         "5a011a00000210000123456789abcdef31180506090807f92f",
         "00 0f 01 23 45 67 89 ab cd ef 31 18 05 06 09 08 07",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kMessageBufferSize> b{};
             Byte len = 0, kind = 0;
             const int r = g.GetChannelMessage(a, b, len, kind, s, h);
             return out(r, {kind, len}) + hex(std::span(b).first(len));
         }},
        {"GetEASMessage", "a5011b0000904c", "5a011b00000201ff8e37", "ff 00",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kMessageBufferSize> b{};
             Byte len = 9, kind = 0;
             const int r = g.GetEASMessage(a, b, len, kind, s, h);
             return out(r, {kind, len});
         }},
        {"RetrieveEarliestRecord", "a5011c000095c0", "5a011c00000207081805060908072a3f",
         "08 06 18 05 06 09 08 07",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kRecordBufferSize> b{};
             Byte len = 0, kind = 0;
             const int r = g.RetrieveEarliestRecord(a, b, len, kind, s, h);
             return out(r, {kind, len}) + hex(std::span(b).first(len));
         }},
        {"RetrieveRecordByIndex", "a5011d0004020100006d5b",
         "5a011d0000021200606162636465666768696a6b6c6d6e6f700765",
         "00 11 60 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f 70",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::array<Byte, gate::kRecordBufferSize> b{};
             Byte len = 0, kind = 9;
             const int r = g.RetrieveRecordByIndex(a, 258, b, len, kind, s, h);
             return out(r, {kind, len}) + hex(std::span(b).first(len));
         }},
        {"GetBGLogDataStatus", "a5011e00002d75",
         "5a011e00000210e803000018010100000018050609080747a2",
         "1000 18 01 01 00 00 00 18 05 06 09 08 07",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             std::int32_t n = 0;
             gate::Clock6 e{}, l{};
             const int r = g.GetBGLogDataStatus(a, n, e, l, s, h);
             return out(r, {}) + QString::number(n) + u' ' + hex(e) + hex(l);
         }},
        {"Acknowledge", "a5011f0000f12f", "5a011f000002003001", "",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             s = 2;
             return out(g.Acknowledge(a, h), {});
         }},
        {"ReadTagData", "a50120000b01020304050607080302040c93",
         "5a01200000020a000a0b0c0d01111213142ca0", "00 0a 0b 0c 0d 01 11 12 13 14",
         [](WireGateLibrary& g, Byte& a, Byte& s, std::int32_t h) -> QString {
             gate::Uid8 uid{1, 2, 3, 4, 5, 6, 7, 8};
             std::array<Byte, 80> d{};
             const int r = g.ReadTagData(a, uid, 3, 2, 4, d, s, h);
             return out(r, {}) + hex(std::span(d).first(10));
         }},
    };
    return cases;
}

}  // namespace

class TestOperationFrames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyOperation_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(goldenCases().size()); ++i) {
            QTest::newRow(goldenCases()[std::size_t(i)].name) << i;
        }
    }
    void everyOperation() {
        QFETCH(int, index);
        const GoldenCase& c = goldenCases()[std::size_t(index)];
        const QByteArray reply = QByteArray::fromHex(c.reply);
        auto link = std::make_unique<MemoryLink>([&](const gate::wire::Request&) { return reply; });
        MemoryLink* memory = link.get();
        WireGateLibrary library{gate::ComPortTable()};
        library.AttachLink(std::move(link), kHandle);
        Byte a = 0x01;
        Byte s = 0;
        const QString outputs = c.call(library, a, s, kHandle);
        QCOMPARE(memory->Written().size(), 1);
        QCOMPARE(memory->Written().first().toHex(), QByteArray(c.request));
        QCOMPARE(outputs.trimmed(),
                 QString(QStringLiteral("0:") + QLatin1String(c.outputs)).trimmed());
        QCOMPARE(int(s), 2);
    }

    // The library speaks every command code of the protocol, once each.
    void everyCommandHasAGoldenFrame() {
        QSet<int> commands;
        for (const GoldenCase& c : goldenCases()) {
            commands.insert(int(QByteArray::fromHex(c.request).at(2)));
        }
        QCOMPARE(commands.size(), 32);
        QVERIFY(commands.contains(gate::wire::Code(gate::wire::Command::GetControllerInfo)));
        QVERIFY(commands.contains(gate::wire::Code(gate::wire::Command::ReadTagData)));
    }
};

QTEST_GUILESS_MAIN(TestOperationFrames)
#include "test_operation_frames.moc"
