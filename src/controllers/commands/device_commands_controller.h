#pragma once

#include "gui/console_context.h"

#include <QObject>

#include <array>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace commands {

// One-shot device commands of the command page: relay, LED and buzzer, clock, infrared,
// controller identity, clearing the message queue and the reader status.
class DeviceCommandsController final : public QObject {
    Q_OBJECT
public:
    explicit DeviceCommandsController(gui::ConsoleContext& ctx, QObject* parent = nullptr);

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
    void setInfrared(std::uint8_t action, const QString& caption);
    void clearIdentity();

    gui::ConsoleContext ctx_;
    QComboBox* relay_;
    QComboBox* ledOn_;
    QComboBox* ledOff_;
    QComboBox* flashCount_;
    QComboBox* buzzerOn_;
    QComboBox* buzzerOff_;
    QComboBox* beepCount_;
    QRadioButton* red_;
    std::array<QLineEdit*, 6> clock_;  // year, month, day, hour, minute, second
    QRadioButton* setClock_;
    QLineEdit* irStatus_;
    QLineEdit* product_;
    QLineEdit* version_;
    QLineEdit* serial_;
    QAbstractButton* detailedInfo_;
    QLineEdit* connectStatus_;
    QLineEdit* antStatus_;
};

}  // namespace commands
