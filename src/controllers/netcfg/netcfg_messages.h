#pragma once

#include "gui/prompter.h"

#include <QCoreApplication>

#include <QString>

namespace netcfg {

// The message boxes of the module pages.
inline QString NoDeviceText() {
    return QCoreApplication::translate("ModuleSettings", "没有选择设备！");
}
inline QString PortConflictText() {
    return QCoreApplication::translate("ModuleSettings", "服务端口冲突！");
}
inline QString InvalidIpText() {
    return QCoreApplication::translate("ModuleSettings", "输入的IP不合法！");
}
inline QString CheckConnectionText() {
    return QCoreApplication::translate("ModuleSettings", "请检查设备与pc连线状态!");
}
inline QString MessageCaption() {
    return QCoreApplication::translate("ModuleSettings", "提示");
}

inline void Warn(gui::Prompter& p, const QString& text) {
    p.Message(text, MessageCaption(), gui::Prompter::Icon::Warning);
}
inline void ReportPortConflict(gui::Prompter& p) {
    p.Message(PortConflictText(), MessageCaption(), gui::Prompter::Icon::Information);
}
// A send that the system rejected ends the operation; the text names the address.
inline void ReportSendFailure(gui::Prompter& p, const QString& error) {
    p.Error(error, MessageCaption());
}

}  // namespace netcfg
