// The export against gate-sim over TCP loopback: a log of a few thousand records of every kind
// reaches the file line by line, and a record logged after the export shows in the log state
// that guards the deletion.
#include "core/records/record_exporter.h"
#include "core/records/record_lines.h"
#include "core/records/stored_record.h"
#include "gate/com_port_table.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"
#include "util/gbk_codec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Body(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

// Record i of the test log, cycling through every kind the console shows.
std::pair<gate::Byte, QByteArray> TestRecord(int i) {
    const int sec = i % 60;
    switch (i % 6) {
        case 0:
            return {0, Body({0xE0, 4, 1, 0, i >> 8 & 0xFF, i & 0xFF, 0x56, 0x78, 1 + i % 4, 24, 5,
                             6, 9, 8, sec})};
        case 1:
            return {1, Body({i & 0xFF, 1, 2, 0, 3, 0, 9, 0, 24, 5, 6, 9, 8, sec})};
        case 2:
            return {2, Body({0xE0, 4, 1, 0, 0x12, 0x34, 0x56, i & 0xFF, 24, 5, 6, 9, 8, sec})};
        case 3:
            return {3, Body({24, 5, 6, 9, 8, sec})};
        case 4:
            return {4, Body({24, 5, 6, 9, 8, sec})};
        default:
            return {8, Body({24, 5, 6, 9, 8, sec, 24, 5, 6, 10, 0, 0})};
    }
}

}  // namespace

class TestRecordsGateSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportOfAFewThousandRecordsOverTcp() {
        constexpr int kCount = 3000;
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        QByteArray expected;
        simulator.WithModel([&](sim::ControllerModel& m) {
            m.Records().SetCapacity(kCount + 10);
            for (int i = 0; i < kCount; ++i) {
                const auto [k, body] = TestRecord(i);
                m.Records().Append(k, body, sim::FullPolicy::Stop);
            }
            return 0;
        });
        for (int i = 0; i < kCount; ++i) {
            const auto [k, body] = TestRecord(i);
            const records::StoredRecord r(
                k,
                std::span(reinterpret_cast<const gate::Byte*>(body.constData()),
                          static_cast<std::size_t>(body.size())),
                static_cast<int>(body.size()));
            expected +=
                util::ToGbk(records::ExportLine(i + 1, r, util::TextTable::Source())) + "\r\n";
        }

        gate::WireGateLibrary library{gate::ComPortTable{}};
        gate::ConnectionState connection;
        const int port = simulator.Endpoints().tcpPort;
        QVERIFY(gate::IsNetworkHandle(port));
        QCOMPARE(library.OpenNetPort(port, QStringLiteral("127.0.0.1"),
                                     connection.ControllerAddress, connection.PortHandle),
                 0);

        QTemporaryDir dir;
        const records::ExportOutcome out = records::ExportAllRecords(
            library, connection, {dir.path(), {}}, QDateTime(QDate(2024, 5, 6), QTime(9, 8)));
        QVERIFY(out.Complete());
        QCOMPARE(out.written, kCount);
        QFile file(out.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.count("\r\n"), kCount);
        QCOMPARE(content, expected);

        // The gate logs on: the state that guards the deletion no longer matches the export.
        simulator.WithModel([&](sim::ControllerModel& m) {
            m.Records().Append(3, Body({24, 5, 6, 9, 9, 0}), sim::FullPolicy::Stop);
            return 0;
        });
        const records::LogState now = records::QueryLogState(library, connection);
        QCOMPARE(connection.LastResult, 0);
        QCOMPARE(now.count, kCount + 1);
        QVERIFY(!now.SameLogAs(out.log));
        library.CloseNetPort(port);
        simulator.Stop();
    }
};

QTEST_GUILESS_MAIN(TestRecordsGateSim)
#include "test_records_gate_sim.moc"
