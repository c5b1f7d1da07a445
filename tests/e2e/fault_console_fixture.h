#pragma once

// The real console window over the real gate library against an in-process gate-sim with a TCP
// line and a pseudo-terminal line (reached through a symbolic link, so that the console can
// reopen it after a hang-up), for the fault tests.
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/console.h"
#include "app/main_window.h"
#include "controllers/records/record_export_controller.h"
#include "core/records/record_lines.h"
#include "core/records/stored_record.h"
#include "gate/com_port_table.h"
#include "gate/gate_library_factory.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"
#include "gui/status_bar.h"
#include "recording_prompter.h"
#include "util/clock.h"
#include "util/gbk_codec.h"

namespace fault_testing {

constexpr int kSimCom = 7;

enum class Line { Tcp, Pty };

struct FaultConsole {
    QTemporaryDir dir;
    sim::GateSimulator simulator;
    std::unique_ptr<gate::GateLibrary> library;
    testing_support::RecordingPrompter prompter;
    util::FixedClock clock{QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))};
    std::unique_ptr<app::Console> console;
    app::TForm1* form = nullptr;
    records::RecordExportController* exporter = nullptr;

    sim::SimulatorOptions options;
    // With usbAdapter, the pseudo-terminal plays a USB adapter with a serial number, reached by
    // its device path (not the link); the devices the system reports are then the test's: the
    // adapter wherever the simulator has its line now, while adapterPresent.
    bool adapterPresent = true;

    QString LinkPath() const { return dir.filePath(QStringLiteral("gate-line")); }
    QString ExportDir() const { return dir.filePath(QStringLiteral("exports")); }

    gate::SerialDevice Adapter() const {
        gate::SerialDevice d;
        d.path = simulator.Endpoints().ptyPath;
        d.name = d.path.section(u'/', -1);
        d.serialNumber = QStringLiteral("FT4K2Q9A");
        d.vendorId = 0x0403;
        d.productId = 0x6001;
        return d;
    }

    bool Start(bool usbAdapter = false) {
        if (!dir.isValid() || !QDir().mkpath(ExportDir())) {
            return false;
        }
        options.tcpPort = 0;
        options.pty = true;
        options.ptyLink = LinkPath();
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("simulator: %s", qPrintable(error));
            return false;
        }
        options.tcpPort = simulator.Endpoints().tcpPort;  // a restart keeps the port
        gate::ComPortTable table(QMap<int, QString>{{kSimCom, LinkPath()}});
        if (usbAdapter) {
            table.SetDevice(kSimCom, Adapter());
            library = std::make_unique<gate::WireGateLibrary>(table, [this] {
                return adapterPresent ? QList<gate::SerialDevice>{Adapter()}
                                      : QList<gate::SerialDevice>{};
            });
        } else {
            library = gate::CreateGateLibrary(table);
        }
        console = std::make_unique<app::Console>(*library, prompter, clock,
                                                 app::Console::Options{table, {ExportDir(), {}}});
        form = &console->Window();
        // The export under test writes into the temporary folder; its slot is called directly.
        exporter = console->Controllers().exporter;
        return true;
    }

    bool Open(Line line) {
        if (line == Line::Tcp) {
            form->PageControl2().setCurrentIndex(1);
            w<QLineEdit>("Edit6")->setText(QStringLiteral("127.0.0.1"));
            w<QLineEdit>("Edit5")->setText(QString::number(simulator.Endpoints().tcpPort));
            click("Button18");
        } else {
            form->PageControl2().setCurrentIndex(0);
            auto* ports = w<QComboBox>("ComboBox_Port");
            ports->setCurrentIndex(ports->findText(QStringLiteral("COM%1").arg(kSimCom)));
            click("OpenPort");
        }
        return form->Fields().connection.IsOpen();
    }

    void Close(Line line) { click(line == Line::Tcp ? "Button19" : "ClosePort"); }

    template <typename T = QWidget>
    T* w(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QString panel(int i) { return form->StatusBar().Panel(i); }
    std::int32_t lastResult() const { return form->Fields().connection.LastResult; }

    // Clicks and returns the time the handler took.
    qint64 timedClick(const char* name) {
        QElapsedTimer t;
        t.start();
        click(name);
        return t.elapsed();
    }

    // The simulator's lines come back, the TCP line on the same port.
    bool Restart() {
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("simulator: %s", qPrintable(error));
            return false;
        }
        return true;
    }

    int SimRecordCount() {
        return simulator.WithModel([](sim::ControllerModel& m) { return m.Records().Count(); });
    }
};

// The lines of an export file, CR LF removed.
inline QList<QByteArray> FileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    for (QByteArray& l : lines) {
        if (l.endsWith('\r')) {
            l.chop(1);
        }
    }
    return lines;
}

// The export line the console writes for a simulated record at this index.
inline QByteArray ExpectedLine(int index, const sim::StoredRecord& r) {
    const records::StoredRecord stored(
        r.kind,
        std::span(reinterpret_cast<const gate::Byte*>(r.body.constData()),
                  static_cast<std::size_t>(r.body.size())),
        static_cast<int>(r.body.size()));
    return util::ToGbk(records::ExportLine(index, stored, util::TextTable::Source()));
}

// Record n of a test log: a clock-set record (kind 8) whose times make every record distinct.
inline QByteArray TestRecordBody(int n) {
    QByteArray b;
    const int values[] = {24, 1 + n / 40000 % 12, 1 + n / 1440 % 28, n / 60 % 24, n % 60, 0,
                          25, 1 + n / 40000 % 12, 1 + n / 1440 % 28, n / 60 % 24, n % 60, 1};
    for (int v : values) {
        b.append(static_cast<char>(v));
    }
    return b;
}

}  // namespace fault_testing
