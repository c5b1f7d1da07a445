#pragma once

#include "gui/console_context.h"

#include <QObject>

#include <array>
#include <cstdint>

class QLineEdit;

namespace Ui {
class PageCommand;
}

namespace commands {

// One-shot device commands of the command page: relay, LED and buzzer, clock, infrared,
// controller identity, clearing the message queue and the reader status.
class DeviceCommandsController final : public QObject {
    Q_OBJECT
public:
    DeviceCommandsController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                             QObject* parent = nullptr);

public Q_SLOTS:
    void SetRealyClick();
    void LEDAndBuzTestClick();
    void ClockCMDClick();
    void CloseIRClick();
    void OpenIRClick();
    void Btn_GetIRStatusClick();
    void Btn_GetControllerInfoClick();
    void Btn_GetControllerParticInfoClick();
    void Btn_ClearBufferClick();
    void btnGetReaderStatusClick();

private:
    void SetInfrared(std::uint8_t action, const QString& caption);
    void ClearIdentity();

    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
    std::array<QLineEdit*, 6> clock_;  // year, month, day, hour, minute, second
};

}  // namespace commands
