#pragma once

// The console's gate library against an in-process gate-sim with a TCP line and a
// pseudo-terminal line, connected over one of them; shared by the library's end-to-end tests.
#include <QTest>

#include "fault_plan.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"

#include <functional>
#include <memory>

namespace library_sim {

using gate::Byte;
using gate::WireGateLibrary;
namespace result = gate::result;

constexpr int kCom = 1;
constexpr qint64 kCallBoundMs = 2500;

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// A simulator with both lines, and the library connected over one of them.
struct Rig {
    sim::GateSimulator simulator;
    sim::SimulatorOptions options;
    std::unique_ptr<WireGateLibrary> library;
    std::int32_t h = -1;
    Byte a = 0xFF;
    Byte s = 0xEE;
    // The pseudo-terminal plays a USB adapter with a serial number: the devices the system
    // reports are the test's, and so is the clock of the reconnect schedule.
    QList<gate::SerialDevice> present;
    int listings = 0;
    qint64 nowMs = 0;

    static gate::SerialDevice Adapter(const QString& path) {
        gate::SerialDevice d;
        d.path = path;
        d.name = path.section(u'/', -1);
        d.serialNumber = QStringLiteral("FT4K2Q9A");
        d.vendorId = 0x0403;
        d.productId = 0x6001;
        return d;
    }

    // beforeOpen may set what the system reports (present) once the line's path is known.
    bool Start(const QString& transport,
               const std::function<void(const QString&)>& beforeOpen = nullptr) {
        options.tcpPort = 0;
        options.pty = true;
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("start: %s", qPrintable(error));
            return false;
        }
        const sim::SimulatorEndpoints ends = simulator.Endpoints();
        options.tcpPort = ends.tcpPort;  // a restart comes back on the same port
        gate::ComPortTable table({{kCom, ends.ptyPath}});
        table.SetDevice(kCom, Adapter(ends.ptyPath));
        present = {Adapter(ends.ptyPath)};  // the system reports the adapter when opened
        if (beforeOpen) {
            beforeOpen(ends.ptyPath);
        }
        library = std::make_unique<WireGateLibrary>(
            table,
            [this] {
                ++listings;
                return present;
            },
            [this] { return nowMs; });
        if (transport == QLatin1String("tcp")) {
            return library->OpenNetPort(ends.tcpPort, QStringLiteral("127.0.0.1"), a, h) == 0;
        }
        a = 0x01;
        return library->OpenComPort(kCom, a, h) == 0;
    }
    void AddFault(const QString& text) {
        sim::Fault f;
        int count = 0;
        const QStringList words = text.split(u' ');
        QVERIFY(sim::ParseFault(words[0], words.mid(1), f, count, nullptr));
        simulator.AddFault(f, count);
    }
    int Info(Byte* product = nullptr) {
        Byte p = 0;
        Byte ma = 0;
        Byte mi = 0;
        const int r = library->GetControllerInfo(a, p, ma, mi, s, h);
        if (product != nullptr) {
            *product = p;
        }
        return r;
    }
    int LogStatus(std::int32_t& count) {
        gate::Clock6 e{};
        gate::Clock6 l{};
        return library->GetBGLogDataStatus(a, count, e, l, s, h);
    }
};

inline void addTransports() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("tcp") << QStringLiteral("tcp");
    QTest::newRow("pty") << QStringLiteral("pty");
}

}  // namespace library_sim
