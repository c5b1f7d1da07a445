#include "core/commands/device_values.h"

#include <QCoreApplication>

#include "util/conversions.h"
#include "util/digit_checks.h"

namespace commands {

namespace {
QString hexByte(gate::Byte b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}
}  // namespace

QString ProductCodeText(gate::Byte product) {
    return hexByte(product);
}

QString VersionText(gate::Byte major, gate::Byte minor) {
    return util::ZeroPadDec(major, 2) % QLatin1Char('.') % util::ZeroPadDec(minor, 2);
}

QString SerialNumberText(const std::array<gate::Byte, 4>& serial) {
    return hexByte(serial[3]) % QLatin1Char('-') % hexByte(serial[2]) % QLatin1Char('-') %
           hexByte(serial[1]) % QLatin1Char('-') % hexByte(serial[0]);
}

QString InfraredStateText(gate::Byte state) {
    switch (state) {
        case 1:
            return QStringLiteral("ON");
        case 0:
            return QStringLiteral("OFF");
        default:
            return {};
    }
}

ReaderStatusTexts ReaderStatusText(gate::Byte link, gate::Byte rfField,
                                   const util::TextTable& texts) {
    const auto text = [&texts](const char* source) { return texts.Text("DeviceCommands", source); };
    if (link != 1) {
        return {text(QT_TRANSLATE_NOOP("DeviceCommands", "连接断开")), QString()};
    }
    QString rf;
    switch (rfField) {
        case 0:
            rf = text(QT_TRANSLATE_NOOP("DeviceCommands", "关闭"));
            break;
        case 1:
            rf = text(QT_TRANSLATE_NOOP("DeviceCommands", "打开"));
            break;
        case 2:
            rf = text(QT_TRANSLATE_NOOP("DeviceCommands", "射频场正在打开..."));
            break;
        default:
            break;
    }
    return {text(QT_TRANSLATE_NOOP("DeviceCommands", "连接正常")), rf};
}

std::optional<int> ParseDigits(QStringView text) {
    if (text.isEmpty() || text.size() > 9 || !util::CheckDecStr(text)) {
        return std::nullopt;
    }
    return text.toInt();
}

ClockEntry ClockFromTexts(const std::array<QString, 6>& texts) {
    ClockEntry entry;
    for (const QString& t : texts) {
        if (t.isEmpty()) {
            entry.error = ClockEntry::Error::EmptyField;
            return entry;
        }
    }
    // Each field counts by its first two characters; the year is then checked as a whole.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QStringView head = QStringView(texts[i]).left(2);
        const auto value = ParseDigits(head);
        if (!value) {
            entry.error = ClockEntry::Error::NotANumber;
            entry.badText = head.toString();
            return entry;
        }
        entry.clock[i] = static_cast<gate::Byte>(*value);
    }
    const auto year = ParseDigits(texts[0]);
    if (!year) {
        entry.error = ClockEntry::Error::NotANumber;
        entry.badText = texts[0];
        return entry;
    }
    if (*year > 99) {
        entry.error = ClockEntry::Error::YearOutOfRange;
    }
    return entry;
}

std::array<QString, 6> ClockTexts(const gate::Clock6& clock) {
    std::array<QString, 6> out;
    for (std::size_t i = 0; i < clock.size(); ++i) {
        out[i] = util::ZeroPadDec(clock[i], 2);
    }
    return out;
}

}  // namespace commands
