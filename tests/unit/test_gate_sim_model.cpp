#include <QTest>

#include "controller_model.h"
#include "model_settings.h"

#include "gate/wire_commands.h"

using gate::wire::Reply;
using gate::wire::Request;
using sim::ControllerModel;

namespace {

std::optional<Reply> Call(ControllerModel& m, int command, const QByteArray& payload = {},
                          std::uint8_t address = 0xFF, std::uint8_t sequence = 7) {
    return m.Handle(Request{address, static_cast<std::uint8_t>(command), sequence, payload});
}

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(text);
}

QByteArray DefaultPatterns() {
    QByteArray p;
    for (int i = 0; i < 5; ++i) {
        p += Hex("010102010102000001");
    }
    return p;
}

QByteArray Body(int tag, int size) {
    return QByteArray(size, static_cast<char>(tag));
}

}  // namespace

class TestGateSimModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every command from the factory state: its result code and reply payload.
    void commandReplies_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("reply");
        QByteArray pattern;
        for (int i = 0; i < 45; ++i) {
            pattern.append(static_cast<char>(200 + i % 50));
        }
        // clang-format off
        QTest::newRow("info") << 0x01 << QByteArray() << 0 << Hex("310702");
        QTest::newRow("detailed info with serial") << 0x02 << QByteArray() << 0 << Hex("31070201020304");
        QTest::newRow("info with stray payload is invalid") << 0x01 << Hex("00") << 8 << QByteArray();
        QTest::newRow("mode read") << 0x03 << Hex("00") << 0 << Hex("00");
        QTest::newRow("mode set EAS") << 0x03 << Hex("81") << 0 << Hex("01");
        QTest::newRow("mode set channel") << 0x03 << Hex("80") << 0 << Hex("00");
        QTest::newRow("mode request without write bit") << 0x03 << Hex("01") << 8 << QByteArray();
        QTest::newRow("clear buffer") << 0x04 << QByteArray() << 0 << QByteArray();
        QTest::newRow("delete all records") << 0x05 << QByteArray() << 0 << QByteArray();
        QTest::newRow("relay") << 0x06 << Hex("0a000000") << 0 << QByteArray();
        QTest::newRow("relay with short time") << 0x06 << Hex("0a") << 8 << QByteArray();
        QTest::newRow("buzzer and LED") << 0x07 << Hex("01020304050600") << 0 << QByteArray();
        QTest::newRow("buzzer and LED short") << 0x07 << Hex("010203") << 8 << QByteArray();
        QTest::newRow("clock out of range") << 0x08 << Hex("0c0d06090807") << 8 << QByteArray();
        QTest::newRow("infrared off") << 0x0A << Hex("01") << 0 << QByteArray();
        QTest::newRow("infrared unknown action") << 0x0A << Hex("03") << 8 << QByteArray();
        QTest::newRow("infrared status") << 0x0B << QByteArray() << 0 << Hex("01");
        QTest::newRow("recording status") << 0x0C << QByteArray() << 0 << Hex("01");
        QTest::newRow("reader status") << 0x0D << QByteArray() << 0 << Hex("0101");
        QTest::newRow("configure") << 0x0E << Hex("1e000a0502030101") << 0 << QByteArray();
        QTest::newRow("configure with stat time 2") << 0x0E << Hex("1e00020502030001") << 8 << QByteArray();
        QTest::newRow("configure with tag time-out 16") << 0x0E << Hex("1e000a1002030001") << 8 << QByteArray();
        QTest::newRow("configuration read") << 0x0F << QByteArray() << 0 << Hex("1e000a0502030001");
        QTest::newRow("correlation read") << 0x10 << Hex("000000") << 0 << Hex("281464");
        QTest::newRow("correlation set") << 0x10 << Hex("8b2832") << 0 << Hex("0b2832");
        QTest::newRow("correlation set with default times") << 0x10 << Hex("a90000") << 0 << Hex("291464");
        QTest::newRow("tag-data setting read") << 0x11 << Hex("00000000") << 0 << Hex("00010001");
        QTest::newRow("tag-data setting set") << 0x11 << Hex("83030406") << 0 << Hex("03030406");
        QTest::newRow("tag-data set without blocks keeps them") << 0x11 << Hex("80000000") << 0 << Hex("00010001");
        QTest::newRow("tag-data set with 7 blocks") << 0x11 << Hex("81010007") << 8 << QByteArray();
        QTest::newRow("address read") << 0x12 << Hex("0000") << 0 << Hex("01");
        QTest::newRow("address write") << 0x12 << Hex("011f") << 0 << Hex("1f");
        QTest::newRow("address write of broadcast") << 0x12 << Hex("01ff") << 8 << QByteArray();
        QTest::newRow("address unknown mode") << 0x12 << Hex("021f") << 8 << QByteArray();
        QTest::newRow("infrared direction read") << 0x13 << Hex("00") << 0 << Hex("00");
        QTest::newRow("infrared direction reverse") << 0x13 << Hex("81") << 0 << Hex("01");
        QTest::newRow("infrared direction bare value") << 0x13 << Hex("01") << 8 << QByteArray();
        QTest::newRow("reader-loss alarm on") << 0x14 << Hex("81") << 0 << Hex("01");
        QTest::newRow("record writing off") << 0x15 << Hex("00") << 0 << Hex("00");
        QTest::newRow("record writing on") << 0x15 << Hex("01") << 0 << Hex("01");
        QTest::newRow("record writing off, write-bit form") << 0x15 << Hex("80") << 0 << Hex("00");
        QTest::newRow("record writing value 2") << 0x15 << Hex("02") << 8 << QByteArray();
        QTest::newRow("save") << 0x16 << Hex("01") << 0 << QByteArray();
        QTest::newRow("restore") << 0x16 << Hex("00") << 0 << QByteArray();
        QTest::newRow("save with unknown byte") << 0x16 << Hex("02") << 8 << QByteArray();
        QTest::newRow("automatic loading on") << 0x17 << Hex("01") << 0 << QByteArray();
        QTest::newRow("alarm mask query") << 0x18 << Hex("00") << 0 << Hex("1f") + DefaultPatterns();
        QTest::newRow("alarm mask set") << 0x18 << Hex("92") << 0 << Hex("12") + DefaultPatterns();
        QTest::newRow("alarm patterns") << 0x19 << pattern << 0 << pattern;
        QTest::newRow("alarm patterns short") << 0x19 << pattern.left(44) << 8 << QByteArray();
        QTest::newRow("channel fetch, nothing pending") << 0x1A << QByteArray() << 0 << Hex("ff");
        QTest::newRow("EAS fetch in channel mode") << 0x1B << QByteArray() << 9 << QByteArray();
        QTest::newRow("earliest record of empty log") << 0x1C << QByteArray() << 0 << Hex("ff");
        QTest::newRow("record by index of empty log") << 0x1D << Hex("01000000") << 5 << QByteArray();
        QTest::newRow("log status of empty log") << 0x1E << QByteArray() << 0 << QByteArray(16, '\0');
        QTest::newRow("acknowledge with nothing delivered") << 0x1F << QByteArray() << 5 << QByteArray();
        QTest::newRow("tag data with block length 5") << 0x20 << Hex("0102030405060708000105") << 8 << QByteArray();
        QTest::newRow("tag data, 17 blocks of 4") << 0x20 << Hex("0102030405060708001104") << 8 << QByteArray();
        QTest::newRow("tag data, 9 blocks of 8") << 0x20 << Hex("0102030405060708000908") << 8 << QByteArray();
        QTest::newRow("tag data past the last block") << 0x20 << Hex("0102030405060708ff0204") << 7 << QByteArray();
        QTest::newRow("unknown command") << 0x33 << QByteArray() << 8 << QByteArray();
        // clang-format on
    }
    void commandReplies() {
        QFETCH(int, command);
        QFETCH(QByteArray, payload);
        QFETCH(int, result);
        QFETCH(QByteArray, reply);
        ControllerModel model;
        const auto r = Call(model, command, payload, 0xFF, 42);
        QVERIFY(r.has_value());
        QCOMPARE(int(r->result), result);
        QCOMPARE(r->payload, reply);
        QCOMPARE(int(r->command), command);
        QCOMPARE(int(r->sequence), 42);
        QCOMPARE(int(r->status), 0);
    }

    void setsAreReadBack() {
        ControllerModel model;
        QCOMPARE(Call(model, 0x0E, Hex("28051e0a04050101"))->result, 0);
        QCOMPARE(Call(model, 0x0F)->payload, Hex("28051e0a04050101"));
        QCOMPARE(Call(model, 0x0A, Hex("01"))->result, 0);
        QCOMPARE(Call(model, 0x0B)->payload, Hex("00"));
        QCOMPARE(Call(model, 0x15, Hex("00"))->result, 0);
        QCOMPARE(Call(model, 0x0C)->payload, Hex("00"));
        QCOMPARE(Call(model, 0x15, Hex("01"))->result, 0);
        QCOMPARE(Call(model, 0x0C)->payload, Hex("01"));
        QCOMPARE(Call(model, 0x14, Hex("81"))->result, 0);
        QCOMPARE(Call(model, 0x14, Hex("00"))->payload, Hex("01"));
        QCOMPARE(Call(model, 0x18, Hex("85"))->result, 0);
        QCOMPARE(Call(model, 0x18, Hex("00"))->payload.left(1), Hex("05"));
    }

    void addressFiltering_data() {
        QTest::addColumn<int>("requestAddress");
        QTest::addColumn<bool>("answered");
        QTest::newRow("own address") << 0x01 << true;
        QTest::newRow("broadcast") << 0xFF << true;
        QTest::newRow("another controller") << 0x02 << false;
        QTest::newRow("zero") << 0x00 << false;
    }
    void addressFiltering() {
        QFETCH(int, requestAddress);
        QFETCH(bool, answered);
        ControllerModel model;
        const auto r = Call(model, 0x01, {}, static_cast<std::uint8_t>(requestAddress));
        QCOMPARE(r.has_value(), answered);
        if (r) {
            QCOMPARE(int(r->address), 0x01);
        }
    }

    void addressChangeAnswersFromNewAddress() {
        ControllerModel model;
        const auto r = Call(model, 0x12, Hex("011f"));
        QCOMPARE(int(r->address), 0x1F);
        QVERIFY(!Call(model, 0x01, {}, 0x01).has_value());
        QVERIFY(Call(model, 0x01, {}, 0x1F).has_value());
    }

    void forcedEasRefusesModeChange() {
        ControllerModel model;
        QCOMPARE(sim::ApplySetting(model, QStringLiteral("forced-eas"), QStringLiteral("on")),
                 QString());
        QCOMPARE(Call(model, 0x03, Hex("00"))->payload, Hex("03"));
        QCOMPARE(int(Call(model, 0x03, Hex("80"))->result), 11);
        QCOMPARE(int(Call(model, 0x03, Hex("81"))->result), 11);
        QCOMPARE(int(Call(model, 0x1A)->result), 9);
        model.PushEasMessage(0x21, Body(1, 6));
        QCOMPARE(Call(model, 0x1B)->payload, Hex("21") + Body(1, 6));
    }

    void modeDecidesWhichQueueAnswers() {
        ControllerModel model;
        model.PushChannelMessage(3, Body(1, 6));
        model.PushEasMessage(0x22, Body(2, 6));
        QCOMPARE(Call(model, 0x1A)->payload, Hex("03") + Body(1, 6));
        QCOMPARE(Call(model, 0x03, Hex("81"))->payload, Hex("01"));
        QCOMPARE(int(Call(model, 0x1A)->result), 9);
        QCOMPARE(Call(model, 0x1B)->payload, Hex("22") + Body(2, 6));
    }

    // Acknowledge deletes what the last fetch delivered, once.
    void acknowledgeActsOnceOnLastDelivery() {
        ControllerModel model;
        model.PushChannelMessage(3, Body(1, 6));
        model.PushChannelMessage(4, Body(2, 6));
        QCOMPARE(Call(model, 0x1A)->payload.left(1), Hex("03"));
        QCOMPARE(int(Call(model, 0x1F)->result), 0);
        QCOMPARE(int(Call(model, 0x1F)->result), 5);  // a second acknowledgement deletes nothing
        QCOMPARE(model.ChannelQueue().Size(), 1);
        QCOMPARE(Call(model, 0x1A)->payload.left(1), Hex("04"));
    }

    void acknowledgeWithNothingDeliveredDeletesNothing_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::newRow("no fetch at all") << QList<int>{};
        QTest::newRow("empty fetch, message arrives later") << QList<int>{0x1A};
        QTest::newRow("fetch in the wrong mode") << QList<int>{0x1B};
        QTest::newRow("record read by index") << QList<int>{0x1D};
        QTest::newRow("earliest of an empty log") << QList<int>{0x1C};
    }
    void acknowledgeWithNothingDeliveredDeletesNothing() {
        QFETCH(QList<int>, before);
        ControllerModel model;
        for (int command : before) {
            if (command == 0x1D) {
                model.AppendRecord(3, Body(1, 6));
                Call(model, command, Hex("01000000"));
            } else {
                Call(model, command);
            }
        }
        model.PushChannelMessage(3, Body(1, 6));
        const int records = model.Records().Count();
        QCOMPARE(int(Call(model, 0x1F)->result), 5);
        QCOMPARE(model.ChannelQueue().Size(), 1);
        QCOMPARE(model.Records().Count(), records);
    }

    void acknowledgeDeletesEarliestRecordAfterItsFetch() {
        ControllerModel model;
        model.AppendRecord(3, Body(1, 6));
        model.AppendRecord(4, Body(2, 6));
        QCOMPARE(Call(model, 0x1C)->payload, Hex("03") + Body(1, 6));
        QCOMPARE(int(Call(model, 0x1F)->result), 0);
        QCOMPARE(model.Records().Count(), 1);
        QCOMPARE(Call(model, 0x1C)->payload, Hex("04") + Body(2, 6));
    }

    // The poll's acknowledgement still hits its message when a record is read by index between
    // the fetch and the acknowledgement.
    void readByIndexBetweenFetchAndAcknowledge() {
        ControllerModel model;
        model.AppendRecord(3, Body(1, 6));
        model.PushChannelMessage(4, Body(2, 6));
        Call(model, 0x1A);
        QCOMPARE(int(Call(model, 0x1D, Hex("01000000"))->result), 0);
        QCOMPARE(int(Call(model, 0x1F)->result), 0);
        QCOMPARE(model.ChannelQueue().Size(), 0);
        QCOMPARE(model.Records().Count(), 1);
    }

    // A record overwritten after its fetch is not avenged on the next one.
    void staleRecordAcknowledgementDeletesNothing() {
        ControllerModel model;
        sim::ApplySetting(model, QStringLiteral("record-capacity"), QStringLiteral("2"));
        sim::ApplySetting(model, QStringLiteral("full-policy"), QStringLiteral("overwrite"));
        model.AppendRecord(3, Body(1, 6));
        model.AppendRecord(3, Body(2, 6));
        Call(model, 0x1C);
        model.AppendRecord(3, Body(3, 6));  // overwrites the fetched one
        QCOMPARE(int(Call(model, 0x1F)->result), 5);
        QCOMPARE(model.Records().Count(), 2);
        QCOMPARE(model.Records().Earliest()->body, Body(2, 6));
    }

    void unacknowledgedMessageIsDeliveredThreeTimesThenDropped() {
        ControllerModel model;
        const QByteArray noPerson = QByteArray(8, '\0') + Hex("01") + Body(5, 6);
        model.PushChannelMessage(0, noPerson);
        model.PushChannelMessage(3, Body(1, 6));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Call(model, 0x1A)->payload, Hex("00") + noPerson);
        }
        QCOMPARE(Call(model, 0x1A)->payload, Hex("03") + Body(1, 6));
        QCOMPARE(int(Call(model, 0x1F)->result), 0);
        QCOMPARE(Call(model, 0x1A)->payload, Hex("ff"));
    }

    void fillStatus_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("policy");
        QTest::addColumn<int>("status");
        QTest::newRow("empty") << 0 << "stop" << 0;
        QTest::newRow("20 % free") << 16 << "stop" << 0;
        QTest::newRow("15 % free") << 17 << "stop" << 1;
        QTest::newRow("one free") << 19 << "overwrite" << 1;
        QTest::newRow("full, stop") << 20 << "stop" << 2;
        QTest::newRow("full, overwrite") << 20 << "overwrite" << 3;
    }
    void fillStatus() {
        QFETCH(int, records);
        QFETCH(QString, policy);
        QFETCH(int, status);
        ControllerModel model;
        sim::ApplySetting(model, QStringLiteral("record-capacity"), QStringLiteral("20"));
        QCOMPARE(sim::ApplySetting(model, QStringLiteral("full-policy"), policy), QString());
        for (int i = 0; i < records; ++i) {
            model.AppendRecord(3, Body(i, 6));
        }
        // Every reply carries it, whatever the command.
        QCOMPARE(int(Call(model, 0x0B)->status), status);
        QCOMPARE(int(Call(model, 0x33)->status), status);
    }

    void fullPolicies_data() {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<int>("earliestTag");
        QTest::addColumn<int>("latestTag");
        QTest::newRow("stop keeps the earliest, refuses the new") << "stop" << 0 << 4;
        QTest::newRow("overwrite drops the earliest") << "overwrite" << 2 << 6;
    }
    void fullPolicies() {
        QFETCH(QString, policy);
        QFETCH(int, earliestTag);
        QFETCH(int, latestTag);
        ControllerModel model;
        sim::ApplySetting(model, QStringLiteral("record-capacity"), QStringLiteral("5"));
        sim::ApplySetting(model, QStringLiteral("full-policy"), policy);
        for (int i = 0; i < 7; ++i) {
            model.AppendRecord(3, Body(i, 6));
        }
        QCOMPARE(model.Records().Count(), 5);
        QCOMPARE(Call(model, 0x1D, Hex("01000000"))->payload, Hex("03") + Body(earliestTag, 6));
        QCOMPARE(Call(model, 0x1D, Hex("05000000"))->payload, Hex("03") + Body(latestTag, 6));
        QCOMPARE(int(Call(model, 0x1D, Hex("06000000"))->result), 7);
        QCOMPARE(int(Call(model, 0x1D, Hex("00000000"))->result), 7);
    }

    void configurationPolicyByteDrivesFullPolicy() {
        ControllerModel model;
        sim::ApplySetting(model, QStringLiteral("record-capacity"), QStringLiteral("1"));
        model.AppendRecord(3, Body(1, 6));
        QCOMPARE(int(Call(model, 0x0E, Hex("1e000a0502030001"))->status), 2);
        QCOMPARE(int(Call(model, 0x0E, Hex("1e000a0502030201"))->status), 3);
    }

    void logStatusGivesCountAndTimes() {
        ControllerModel model;
        model.AppendRecord(3, Hex("0c0506090807"));
        model.AppendRecord(0, Body(9, 8) + Hex("01") + Hex("0d0102030405"));
        QCOMPARE(Call(model, 0x1E)->payload,
                 Hex("02000000") + Hex("0c0506090807") + Hex("0d0102030405"));
    }

    void clockRunsAndItsSettingIsRecorded() {
        ControllerModel model;
        std::int64_t now = 1000;
        model.SetTimeSource([&now] { return now; });
        QCOMPARE(Call(model, 0x08, Hex("0c0506090807"))->payload, Hex("0c0506090807"));
        now += 2500;
        QCOMPARE(Call(model, 0x09)->payload, Hex("0c0506090809"));
        QCOMPARE(model.Records().Count(), 1);
        QCOMPARE(int(model.Records().Earliest()->kind), 8);
        QCOMPARE(model.Records().Earliest()->body.mid(6), Hex("0c0506090807"));
        // With record writing off the setting leaves no record.
        Call(model, 0x15, Hex("80"));
        Call(model, 0x08, Hex("0c0506090807"));
        QCOMPARE(model.Records().Count(), 1);
    }

    void channelEventStoresRecordWithoutTagData() {
        ControllerModel model;
        const QByteArray body = Body(7, 8) + Hex("31") + Hex("0c0506090807") + Hex("0a0b0c0d0e");
        model.ChannelEvent(0, body);
        QCOMPARE(Call(model, 0x1A)->payload, Hex("00") + body);
        QCOMPARE(Call(model, 0x1C)->payload, Hex("00") + body.left(15));
        Call(model, 0x15, Hex("80"));
        model.ChannelEvent(3, Hex("0c0506090807"));
        QCOMPARE(model.Records().Count(), 1);
        QCOMPARE(model.ChannelQueue().Size(), 2);
    }

    void saveRestoreAndAutomaticLoading() {
        ControllerModel model;
        Call(model, 0x13, Hex("81"));
        Call(model, 0x16, Hex("01"));  // save with reverse direction
        Call(model, 0x13, Hex("80"));
        Call(model, 0x16, Hex("00"));  // restore
        QCOMPARE(Call(model, 0x13, Hex("00"))->payload, Hex("01"));
        Call(model, 0x13, Hex("80"));
        model.Restart();  // automatic loading off: the live setting stays
        QCOMPARE(Call(model, 0x13, Hex("00"))->payload, Hex("00"));
        Call(model, 0x17, Hex("01"));
        model.Restart();
        QCOMPARE(Call(model, 0x13, Hex("00"))->payload, Hex("01"));
    }

    void tagDataBlocks() {
        ControllerModel model;
        sim::ApplySetting(model, QStringLiteral("tag-memory"),
                          QStringLiteral("0102030405060708:00112233445566778899aabbccddeeff"));
        const auto r = Call(model, 0x20, Hex("0102030405060708") + Hex("010204"));
        QCOMPARE(r->payload, Hex("0044556677") + Hex("008899aabb"));
        const auto big = Call(model, 0x20, Hex("1111111111111111") + Hex("001004"));
        QCOMPARE(big->payload.size(), 16 * 5);
        const auto eight = Call(model, 0x20, Hex("1111111111111111") + Hex("000808"));
        QCOMPARE(eight->payload.size(), 8 * 9);
    }
};

QTEST_GUILESS_MAIN(TestGateSimModel)
#include "test_gate_sim_model.moc"
