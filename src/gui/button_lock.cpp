#include "gui/button_lock.h"

#include <QWidget>

namespace records {

const QStringList& ExportLockedButtonNames() {
    static const QStringList names{
        QStringLiteral("Button_C_Get"),
        QStringLiteral("StopGet"),
        QStringLiteral("Button13"),
        QStringLiteral("Button14"),
        QStringLiteral("Btn_GetControllerInfo"),
        QStringLiteral("Btn_GetControllerParticInfo"),
        QStringLiteral("SetRealy"),
        QStringLiteral("ClockCMD"),
        QStringLiteral("Btn_ClearBuffer"),
        QStringLiteral("ControllerInfo"),
        QStringLiteral("GetBackRecorfStatus"),
        QStringLiteral("Btn_DeleteAllRecord"),
        QStringLiteral("SearchInRecord"),
        QStringLiteral("GetFirstRecord"),
        QStringLiteral("GetFirstRecordAndDel"),
        QStringLiteral("LEDAndBuzTest"),
        QStringLiteral("SaveRecordAsTextFile"),
        QStringLiteral("GetTagData"),
        QStringLiteral("CloseIR"),
        QStringLiteral("OpenIR"),
        QStringLiteral("Btn_GetIRStatus"),
        QStringLiteral("Button5"),
        QStringLiteral("Button6"),
        QStringLiteral("Button1"),
        QStringLiteral("Button2"),
        QStringLiteral("Button3"),
        QStringLiteral("Button4"),
        QStringLiteral("Button7"),
        QStringLiteral("Button8"),
        QStringLiteral("Button9"),
        QStringLiteral("Button10"),
        QStringLiteral("Button16"),
        QStringLiteral("Button17"),
        QStringLiteral("btnSetControAddr"),
        QStringLiteral("btnGetControAddr"),
        QStringLiteral("btnReadBackRecord"),
        QStringLiteral("btnSetBackRecord"),
        QStringLiteral("btnGetReaderStatus"),
    };
    return names;
}

ButtonLock::ButtonLock(QWidget& form, const QStringList& names) {
    for (const QString& name : names) {
        if (auto* w = form.findChild<QWidget*>(name)) {
            // The control's own setting, not one inherited from a disabled parent.
            saved_.append(Saved{w, !w->testAttribute(Qt::WA_ForceDisabled)});
            w->setEnabled(false);
        }
    }
}

void ButtonLock::Restore() {
    for (const Saved& s : saved_) {
        if (s.widget) {
            s.widget->setEnabled(s.enabled);
        }
    }
    saved_.clear();
}

void SetControlEnabled(QWidget& form, const QString& name, bool enabled) {
    if (auto* w = form.findChild<QWidget*>(name)) {
        w->setEnabled(enabled);
    }
}

}  // namespace records
