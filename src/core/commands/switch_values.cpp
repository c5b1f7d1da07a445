#include "core/commands/switch_values.h"

#include <QCoreApplication>

namespace commands {

std::optional<QString> ModeText(gate::Byte mode, const util::TextTable& texts) {
    if (mode == 0) {
        return texts.Text("Switches", QT_TRANSLATE_NOOP("Switches", "   通道管理模式"));
    }
    if (mode == 1) {
        return texts.Text("Switches", QT_TRANSLATE_NOOP("Switches", "   EAS模式"));
    }
    if (IsForcedEas(mode)) {
        return texts.Text("Switches", QT_TRANSLATE_NOOP("Switches", "   强制EAS模式"));
    }
    return std::nullopt;
}

std::optional<QString> InfraredDirectionText(gate::Byte direction) {
    switch (direction) {
        case 0:
            return QCoreApplication::translate("Switches", "   红外线正向");
        case 1:
            return QCoreApplication::translate("Switches", "   红外线反向");
        default:
            return std::nullopt;
    }
}

std::optional<QString> ReaderLossAlarmText(gate::Byte alarm) {
    switch (alarm) {
        case 0:
            return QCoreApplication::translate("Switches", "   读写器失去连接时不报警");
        case 1:
            return QCoreApplication::translate("Switches", "   读写器失去连接时报警");
        default:
            return std::nullopt;
    }
}

QString BackRecordWritingText(gate::Byte recordingStatus) {
    return (recordingStatus & 0x01) != 0
               ? QCoreApplication::translate("Switches", "   要写后台记录")
               : QCoreApplication::translate("Switches", "   不写后台记录");
}

QString StampedLine(const QTime& now, const QString& text) {
    return now.toString(QStringLiteral("hh:mm:ss")) % text;
}

}  // namespace commands
