// gatectl info: the controller's identity and state in one go.
#include "cli/controller_command.h"
#include "cli/subcommands.h"
#include "core/commands/device_values.h"
#include "core/commands/switch_values.h"
#include "core/records/log_state.h"
#include "core/records/record_fields.h"
#include "gate/serial_low_latency.h"
#include "util/result_text.h"

#include <QFileInfo>
#include <QJsonObject>

namespace cli {

namespace {

QString ModeName(gate::Byte mode) {
    if (commands::IsForcedEas(mode)) {
        return QStringLiteral("eas (forced)");
    }
    return mode == 1 ? QStringLiteral("eas") : QStringLiteral("channel");
}

QString RfName(gate::Byte rf) {
    switch (rf) {
        case 0:
            return QStringLiteral("off");
        case 1:
            return QStringLiteral("on");
        case 2:
            return QStringLiteral("switching on");
        default:
            return QStringLiteral("unknown (%1)").arg(rf);
    }
}

// The serial adapter's state: the device, whether low latency was granted and the latency
// timer the driver reports (USB adapters of the FTDI kind; nothing elsewhere).
void AddSerialAdapter(const GateConnection& conn, QJsonObject& json, QStringList& lines) {
    const std::optional<gate::SerialDevice> device = conn.Wire().SerialDeviceOpened();
    if (!device) {
        return;
    }
    const QString canonical = QFileInfo(device->path).canonicalFilePath();
    const std::optional<int> timerMs =
        gate::LatencyTimerMs(QFileInfo(canonical.isEmpty() ? device->path : canonical).fileName());
    const QString lowLatency = gate::LowLatencyText(conn.Wire().SerialLowLatency());
    QJsonObject adapter{{QStringLiteral("device"), device->path},
                        {QStringLiteral("low_latency"), lowLatency}};
    QString line =
        QStringLiteral("serial adapter: %1, low latency %2").arg(device->path, lowLatency);
    if (timerMs) {
        adapter.insert(QStringLiteral("latency_timer_ms"), *timerMs);
        line += QStringLiteral(", latency timer %1 ms").arg(*timerMs);
    }
    if (!device->serialNumber.isEmpty()) {
        adapter.insert(QStringLiteral("usb_serial"), device->serialNumber);
        line += QStringLiteral(", USB serial number %1").arg(device->serialNumber);
    }
    json.insert(QStringLiteral("serial_adapter"), adapter);
    lines << line;
}

QString WithConsoleText(const QString& english, const QString& consoleText) {
    return consoleText.isEmpty() ? english : english % QStringLiteral(" (") % consoleText % u')';
}

}  // namespace

int RunInfo(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Show the controller's identity, operating mode, reader "
                                         "link and RF field, infrared state and record memory."));
    AddLinkOptions(cl);
    const Opened opened = ParseAndOpen(cl, arguments);
    if (!opened) {
        return opened.exitCode;
    }
    GateConnection& conn = *opened.connection;
    gate::GateLibrary& lib = conn.Library();
    gate::ConnectionState& c = conn.State();

    gate::Byte product = 0, major = 0, minor = 0;
    c.LastResult = lib.GetControllerInfo(c.ControllerAddress, product, major, minor, c.ReplyStatus,
                                         c.PortHandle);
    if (c.LastResult != 0) {
        return cl.Fail(ResultFailure(QStringLiteral("获取控制器基本信息"), c.LastResult));
    }
    QJsonObject json{{QStringLiteral("product"), commands::ProductCodeText(product)},
                     {QStringLiteral("version"), commands::VersionText(major, minor)}};
    QStringList lines{QStringLiteral("product code:   ") + commands::ProductCodeText(product),
                      QStringLiteral("version:        ") + commands::VersionText(major, minor)};
    if (commands::AllowsDetailedInfo(major)) {
        std::array<gate::Byte, 4> serial{};
        c.LastResult = lib.GetControllerDetailedInfo(c.ControllerAddress, product, major, minor,
                                                     serial, c.ReplyStatus, c.PortHandle);
        if (c.LastResult != 0) {
            return cl.Fail(ResultFailure(QStringLiteral("获取控制器详细信息"), c.LastResult));
        }
        json.insert(QStringLiteral("serial"), commands::SerialNumberText(serial));
        lines << QStringLiteral("serial number:  ") + commands::SerialNumberText(serial);
    } else {
        lines << QStringLiteral("serial number:  (controllers before version 7 do not report it)");
    }

    gate::Byte mode = commands::kSwitchReadRequest;
    c.LastResult = lib.ModeSwitch(c.ControllerAddress, mode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != 0) {
        return cl.Fail(ResultFailure(QStringLiteral("模式读取"), c.LastResult));
    }
    const QString modeText =
        commands::ModeText(mode, util::TextTable::Source()).value_or(QString()).trimmed();
    json.insert(QStringLiteral("mode"),
                QJsonObject{{QStringLiteral("value"), mode},
                            {QStringLiteral("eas"), mode != 0},
                            {QStringLiteral("forced_eas"), commands::IsForcedEas(mode)},
                            {QStringLiteral("text"), modeText}});
    lines << QStringLiteral("operating mode: ") + WithConsoleText(ModeName(mode), modeText);

    gate::Byte link = 0, rf = 0;
    c.LastResult = lib.GetControllerReaderConnectionStatus(c.ControllerAddress, link, rf,
                                                           c.ReplyStatus, c.PortHandle);
    if (c.LastResult != 0) {
        return cl.Fail(ResultFailure(QStringLiteral("获取读写器状态"), c.LastResult));
    }
    const commands::ReaderStatusTexts reader =
        commands::ReaderStatusText(link, rf, util::TextTable::Source());
    json.insert(QStringLiteral("reader"), QJsonObject{{QStringLiteral("link"), link},
                                                      {QStringLiteral("connected"), link == 1},
                                                      {QStringLiteral("rf_field"), rf},
                                                      {QStringLiteral("text"), reader.connection},
                                                      {QStringLiteral("rf_text"), reader.rfField}});
    lines << QStringLiteral("reader link:    ") +
                 WithConsoleText(
                     link == 1 ? QStringLiteral("connected") : QStringLiteral("disconnected"),
                     reader.connection);
    if (link == 1) {
        lines << QStringLiteral("RF field:       ") + WithConsoleText(RfName(rf), reader.rfField);
    }

    gate::Byte ir = 0;
    c.LastResult = lib.GetIRStatus(c.ControllerAddress, ir, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != 0) {
        return cl.Fail(ResultFailure(QStringLiteral("查询红外"), c.LastResult));
    }
    const QString irText = commands::InfraredStateText(ir);
    json.insert(QStringLiteral("infrared"),
                QJsonObject{{QStringLiteral("value"), ir}, {QStringLiteral("on"), ir == 1}});
    lines << QStringLiteral("infrared:       ") +
                 (irText.isEmpty() ? QStringLiteral("unknown (%1)").arg(ir) : irText);

    const records::LogState log = records::QueryLogState(lib, c);
    if (const auto failure = LogStateFailure(log, c.LastResult)) {
        return cl.Fail(*failure);
    }
    QJsonObject recordsJson{{QStringLiteral("count"), log.count},
                            {QStringLiteral("fill_status"), c.ReplyStatus},
                            {QStringLiteral("fill_text"),
                             util::ReplyStatusText(c.ReplyStatus, util::TextTable::Source())}};
    QString recordsLine = QStringLiteral("records:        ") + QString::number(log.count);
    if (log.count > 0) {
        recordsJson.insert(QStringLiteral("earliest"), records::IsoTimeText(log.earliest));
        recordsJson.insert(QStringLiteral("latest"), records::IsoTimeText(log.latest));
        recordsLine += QStringLiteral(", earliest %1, latest %2")
                           .arg(TimeString(log.earliest), TimeString(log.latest));
    }
    json.insert(QStringLiteral("records"), recordsJson);
    lines << recordsLine
          << QStringLiteral("record memory:  ") +
                 WithConsoleText(util::ReplyStatusMeaning(c.ReplyStatus),
                                 util::ReplyStatusText(c.ReplyStatus, util::TextTable::Source()));
    AddSerialAdapter(conn, json, lines);
    return cl.Succeed(json, lines);
}

}  // namespace cli
