#include "gate/connection_rules.h"

#include "gate/gate_library.h"

#include <QCoreApplication>

namespace gate {

QString ControllerPanelText(std::int32_t portHandle, LinkCondition condition) {
    if (portHandle == -1) {
        return QCoreApplication::translate("StatusBar", "IF1: 通讯关闭");
    }
    // The conditions stand in for the port (which does not change) so that they fit the panel.
    switch (condition) {
        case LinkCondition::Normal:
            break;
        case LinkCondition::Reconnecting:
            return QCoreApplication::translate("StatusBar", "IF1: 重连中…");
        case LinkCondition::Restored:
            return QCoreApplication::translate("StatusBar", "IF1: 已恢复");
    }
    if (IsNetworkHandle(portHandle)) {
        return QStringLiteral("IF1: TCP") + QString::number(portHandle);
    }
    return QStringLiteral("IF1: COM") + QString::number(portHandle);
}

QString IF2PanelText(std::int32_t if2Port) {
    if (if2Port == -1) {
        return QCoreApplication::translate("StatusBar", "IF2: 通讯关闭");
    }
    return QStringLiteral("IF2: COM") + QString::number(if2Port);
}

std::optional<std::uint8_t> ParseControllerAddress(const QString& text) {
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 16);
    // toULongLong accepts a "0x" prefix and surrounding blanks; a typed address has neither.
    if (!ok || text.isEmpty() || text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) ||
        text.trimmed() != text) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::optional<std::int32_t> ParseSignedDecimal(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || text.trimmed() != text) {
        return std::nullopt;
    }
    return value;
}

}  // namespace gate
