#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace gate {

// Status-bar text of the controller connection (panel 2): "IF1: 通讯关闭" while closed, "IF1: COM"
// and the number for a serial handle, "IF1: TCP" and the port for a network handle.
QString ControllerPanelText(std::int32_t portHandle);

// Status-bar text of the second input (panel 3): "IF2: 通讯关闭" or "IF2: COM" and the number.
QString IF2PanelText(std::int32_t if2Port);

// The controller address typed in hexadecimal, kept to its low 8 bits; nothing when the text is
// empty or not hexadecimal.
std::optional<std::uint8_t> ParseControllerAddress(const QString& text);

// A decimal number as the port fields hold it; nothing when empty, not decimal or out of the
// 32-bit range.
std::optional<std::int32_t> ParseDecimal(const QString& text);

}  // namespace gate
