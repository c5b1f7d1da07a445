#include "core/netcfg/properties_values.h"

#include <QCoreApplication>

#include "util/gbk_codec.h"

#include <array>

namespace netcfg {

bool IsReadComplete(const ModuleSettings& s) {
    const std::array<const QByteArray*, 14> required{
        &s.NetMask,  &s.Mac,      &s.Ip,     &s.SourcePort, &s.BaudRate, &s.DataBits, &s.DtrMode,
        &s.WorkMode, &s.Protocol, &s.Parity, &s.RtsMode,    &s.DestIp,   &s.DestPort, &s.GatewayIp};
    for (const QByteArray* field : required) {
        if (field->isEmpty()) {
            return false;
        }
    }
    return true;
}

std::optional<int> ListIndexOf(const QByteArray& field) {
    if (field.isEmpty() || field.size() > 9) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (!(c >= '0' && c <= '9') && !(i == 0 && c == '-' && field.size() > 1)) {
            return std::nullopt;
        }
    }
    return field.toInt();
}

QByteArray IndexText(int index) {
    return QByteArray::number(index);
}

QString NoSelectionText(const QString& settingName) {
    return QCoreApplication::translate("ModuleSettings", "未选择“%1”，设置未写入！")
        .arg(settingName);
}

ShownText ShowBytes(const QByteArray& bytes) {
    return {bytes, util::FromGbk(bytes)};
}

QByteArray BytesToWrite(const ShownText& shown, const QString& current) {
    return current == shown.text ? shown.bytes : util::ToGbk(current);
}

}  // namespace netcfg
