#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace gate {

// How an open controller link stands, as the status bar tells it.
enum class LinkCondition {
    Normal,
    Reconnecting,  // it went down by itself; the calls try to reopen it
    Restored,      // it came back by itself a moment ago
};

// Status-bar text of the controller connection (panel 2): "IF1: 通讯关闭" while closed, "IF1: COM"
// and the number for a serial handle, "IF1: TCP" and the port for a network handle; an open
// link that is being re-established says "IF1: 重连中…", one that has just come back
// "IF1: 已恢复". Every text of the panel comes from here, in the console's language.
QString ControllerPanelText(std::int32_t portHandle,
                            LinkCondition condition = LinkCondition::Normal);

// Status-bar text of the second input (panel 3): "IF2: 通讯关闭" or "IF2: COM" and the number.
QString IF2PanelText(std::int32_t if2Port);

// The controller address typed in hexadecimal, kept to its low 8 bits; nothing when the text is
// empty or not hexadecimal.
std::optional<std::uint8_t> ParseControllerAddress(const QString& text);

// A decimal number as the port fields hold it, a sign allowed ("+7", "-1"); nothing when empty,
// not decimal, padded with spaces or out of the 32-bit range. (commands::ParseDigits is the
// stricter reading of the setting fields: digits only.)
std::optional<std::int32_t> ParseSignedDecimal(const QString& text);

}  // namespace gate
