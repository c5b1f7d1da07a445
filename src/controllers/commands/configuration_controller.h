#pragma once

#include "core/commands/config_values.h"
#include "gui/console_context.h"

#include <QObject>

#include <array>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace commands {

// The configuration block ("控制器配置信息") and the controller address ("控制器地址").
class ConfigurationController final : public QObject {
    Q_OBJECT
public:
    explicit ConfigurationController(gui::ConsoleContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void ControllerInfoClick();
    // sender: btnSetControAddr sets, btnGetControAddr reads.
    void btnSetControAddrClick(QAbstractButton* sender);

private:
    gui::ConsoleContext ctx_;
    std::array<QComboBox*, kConfigFieldCount> lists_;
    QRadioButton* setConfig_;
    QLineEdit* newAddress_;
    QLineEdit* currentAddress_;
    QAbstractButton* setAddress_;
    QAbstractButton* getAddress_;
};

}  // namespace commands
