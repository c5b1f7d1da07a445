#include "monitor/port_panels.h"

namespace monitor {

QString ControllerPanelText(std::int32_t portHandle) {
    return portHandle == -1 ? QStringLiteral("IF1: 通讯关闭")
                            : QString(u"IF1: COM" % QString::number(portHandle));
}

QString IF2PanelText(std::int32_t if2Port) {
    return if2Port == -1 ? QStringLiteral("IF2: 通讯关闭")
                         : QString(u"IF2: COM" % QString::number(if2Port));
}

}  // namespace monitor
