#pragma once

#include <QString>

#include <cstdint>

namespace monitor {

// Status-bar panels 2 and 3: "IF1: COM<handle>" while the controller connection is open (the
// handle in decimal) and "IF2: COM<port>" while the second input is open, "IF1: 通讯关闭" and
// "IF2: 通讯关闭" otherwise.
QString ControllerPanelText(std::int32_t portHandle);
QString IF2PanelText(std::int32_t if2Port);

}  // namespace monitor
