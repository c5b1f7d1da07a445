#include "util/result_text.h"

namespace util {

QString ResultCodeText(std::uint8_t code) {
    switch (code & 0x3F) {
        case 0:
            return QStringLiteral("操作成功");
        case 2:
            return QStringLiteral("获得标签超时消息");
        case 3:
            return QStringLiteral("获得通过超时消息");
        case 4:
            return QStringLiteral("获得红外报警消息");
        case 5:
            return QStringLiteral("本条记录不存在或已失效");
        case 6:
            return QStringLiteral("正在进行内部自检及数据初始化....");
        case 7:
            return QStringLiteral("检索序号超过范围");
        case 8:
            return QStringLiteral("无效的命令");
        case 9:
            return QStringLiteral("模式不对");
        case 10:
            return QStringLiteral("控制器无法保存新模式");
        case 11:
            return QStringLiteral("系统被强制设置在EAS模式");
        case 12:
            return QStringLiteral("控制器保存新的红外方向失败");
        case 13:
            return QStringLiteral("不能设置为不写后台记录");
        case 15:
            return QStringLiteral("正在寻找配置信息....");
        case 33:
            return QStringLiteral("EAS获得通过超时消息");
        case 34:
            return QStringLiteral("EAS获得红外报警消息");
        case 48:
            return QStringLiteral("通讯错误");
        case 49:
            return QStringLiteral("CRC校验错误");
        case 50:
            return QStringLiteral("返回数据长度错误");
        case 51:
            return QStringLiteral("通讯繁忙,设备正在执行其他指令");
        default:
            return {};
    }
}

QString ReplyKindText(QStringView letter) {
    if (letter == u"C") {
        return QStringLiteral("命令错误");
    }
    if (letter == u"R") {
        return QStringLiteral("设备拒绝执行命令");
    }
    if (letter == u"D") {
        return QStringLiteral("与设备连接不上");
    }
    if (letter == u"F") {
        return QStringLiteral("命令执行失败");
    }
    return {};
}

QString ReplyStatusText(std::uint8_t status) {
    switch (status) {
        case 0:
            return QStringLiteral("后台记录数据区空闲容量>15%");
        case 1:
            return QStringLiteral("后台记录数据区空闲容量<=15%");
        case 2:
            return QStringLiteral("后台记录数据区已满并已停止后台记录");
        case 3:
            return QStringLiteral("后台记录数据区已满并已开始循环记录");
        default:
            return {};
    }
}

QString CommandResultLine(const QTime& now, const QString& caption, std::uint8_t result) {
    const QString stamp = now.toString(QStringLiteral("HH:mm:ss"));
    const std::uint8_t code = result & 0x3F;
    if (code == 48) {
        return stamp + QStringLiteral("   通讯错误");
    }
    return stamp + QStringLiteral("  ") + caption + ResultCodeText(code);
}

}  // namespace util
