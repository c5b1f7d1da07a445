#include "util/result_text.h"

#include <QCoreApplication>

namespace util {

namespace {

constexpr char kContext[] = "ResultText";

QString Translated(const TextTable& texts, const char* source) {
    return source != nullptr ? texts.Text(kContext, source) : QString();
}

const char* ResultCodeSource(std::uint8_t code) {
    switch (code & 0x3F) {
        case 0:
            return QT_TRANSLATE_NOOP("ResultText", "操作成功");
        case 2:
            return QT_TRANSLATE_NOOP("ResultText", "获得标签超时消息");
        case 3:
            return QT_TRANSLATE_NOOP("ResultText", "获得通过超时消息");
        case 4:
            return QT_TRANSLATE_NOOP("ResultText", "获得红外报警消息");
        case 5:
            return QT_TRANSLATE_NOOP("ResultText", "本条记录不存在或已失效");
        case 6:
            return QT_TRANSLATE_NOOP("ResultText", "正在进行内部自检及数据初始化....");
        case 7:
            return QT_TRANSLATE_NOOP("ResultText", "检索序号超过范围");
        case 8:
            return QT_TRANSLATE_NOOP("ResultText", "无效的命令");
        case 9:
            return QT_TRANSLATE_NOOP("ResultText", "模式不对");
        case 10:
            return QT_TRANSLATE_NOOP("ResultText", "控制器无法保存新模式");
        case 11:
            return QT_TRANSLATE_NOOP("ResultText", "系统被强制设置在EAS模式");
        case 12:
            return QT_TRANSLATE_NOOP("ResultText", "控制器保存新的红外方向失败");
        case 13:
            return QT_TRANSLATE_NOOP("ResultText", "不能设置为不写后台记录");
        case 15:
            return QT_TRANSLATE_NOOP("ResultText", "正在寻找配置信息....");
        case 33:
            return QT_TRANSLATE_NOOP("ResultText", "EAS获得通过超时消息");
        case 34:
            return QT_TRANSLATE_NOOP("ResultText", "EAS获得红外报警消息");
        case 48:
            return QT_TRANSLATE_NOOP("ResultText", "通讯错误");
        case 49:
            return QT_TRANSLATE_NOOP("ResultText", "CRC校验错误");
        case 50:
            return QT_TRANSLATE_NOOP("ResultText", "返回数据长度错误");
        case 51:
            return QT_TRANSLATE_NOOP("ResultText", "通讯繁忙,设备正在执行其他指令");
        default:
            return nullptr;
    }
}

const char* ReplyKindSource(QStringView letter) {
    if (letter == u"C") {
        return QT_TRANSLATE_NOOP("ResultText", "命令错误");
    }
    if (letter == u"R") {
        return QT_TRANSLATE_NOOP("ResultText", "设备拒绝执行命令");
    }
    if (letter == u"D") {
        return QT_TRANSLATE_NOOP("ResultText", "与设备连接不上");
    }
    if (letter == u"F") {
        return QT_TRANSLATE_NOOP("ResultText", "命令执行失败");
    }
    return nullptr;
}

const char* ReplyStatusSource(std::uint8_t status) {
    switch (status) {
        case 0:
            return QT_TRANSLATE_NOOP("ResultText", "后台记录数据区空闲容量>15%");
        case 1:
            return QT_TRANSLATE_NOOP("ResultText", "后台记录数据区空闲容量<=15%");
        case 2:
            return QT_TRANSLATE_NOOP("ResultText", "后台记录数据区已满并已停止后台记录");
        case 3:
            return QT_TRANSLATE_NOOP("ResultText", "后台记录数据区已满并已开始循环记录");
        default:
            return nullptr;
    }
}

}  // namespace

QString ResultCodeText(std::uint8_t code, const TextTable& texts) {
    return Translated(texts, ResultCodeSource(code));
}

QString ReplyKindText(QStringView letter, const TextTable& texts) {
    return Translated(texts, ReplyKindSource(letter));
}

QString ReplyStatusText(std::uint8_t status, const TextTable& texts) {
    return Translated(texts, ReplyStatusSource(status));
}

QString ResultCodeMeaning(std::uint8_t code) {
    switch (code & 0x3F) {
        case 0:
            return QStringLiteral("operation succeeded");
        case 2:
            return QStringLiteral("a tag time-out message was obtained");
        case 3:
            return QStringLiteral("a passage time-out message was obtained");
        case 4:
            return QStringLiteral("an infrared alarm message was obtained");
        case 5:
            return QStringLiteral("the record does not exist or is no longer valid");
        case 6:
            return QStringLiteral(
                "the controller is running its self-test and data initialisation");
        case 7:
            return QStringLiteral("record index out of range");
        case 8:
            return QStringLiteral(
                "invalid command: the controller refused the request or its values");
        case 9:
            return QStringLiteral("wrong operating mode for this command");
        case 10:
            return QStringLiteral("the controller cannot store the new mode");
        case 11:
            return QStringLiteral("the system is forced into EAS mode");
        case 12:
            return QStringLiteral("the controller failed to store the new infrared direction");
        case 13:
            return QStringLiteral("recording of background records cannot be switched off");
        case 15:
            return QStringLiteral("the controller is looking for its configuration");
        case 33:
            return QStringLiteral("an EAS passage time-out message was obtained");
        case 34:
            return QStringLiteral("an EAS infrared alarm message was obtained");
        case 48:
            return QStringLiteral("communication error: no valid reply from the controller");
        case 49:
            return QStringLiteral("CRC check error in the controller's reply");
        case 50:
            return QStringLiteral("wrong length of the returned data");
        case 51:
            return QStringLiteral("the line is busy, the device is executing another command");
        default:
            return QStringLiteral("result code without a known meaning");
    }
}

QString ReplyStatusMeaning(std::uint8_t status) {
    switch (status) {
        case 0:
            return QStringLiteral("more than 15 % of the record area is free");
        case 1:
            return QStringLiteral("at most 15 % of the record area is free");
        case 2:
            return QStringLiteral("the record area is full and recording has stopped");
        case 3:
            return QStringLiteral(
                "the record area is full and recording continues over the oldest records");
        default:
            return {};
    }
}

QString CommandResultLine(const QTime& now, const QString& caption, std::uint8_t result,
                          const TextTable& texts) {
    const QString stamp = now.toString(QStringLiteral("HH:mm:ss"));
    const std::uint8_t code = result & 0x3F;
    if (code == 48) {
        return stamp + QStringLiteral("   ") + ResultCodeText(code, texts);
    }
    return stamp + QStringLiteral("  ") + caption + ResultCodeText(code, texts);
}

QString ChangeResultLine(const QTime& now, const QString& caption, std::uint8_t result,
                         const TextTable& texts) {
    if ((result & 0x3F) != 48) {
        return CommandResultLine(now, caption, result, texts);
    }
    return now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + caption +
           MayHaveRunText(texts);
}

QString MayHaveRunText(const TextTable& texts) {
    return texts.Text(kContext, QT_TRANSLATE_NOOP("ResultText", "通讯错误，可能已执行"));
}

}  // namespace util
