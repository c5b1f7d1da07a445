#pragma once

#include "core/commands/config_values.h"
#include "gui/console_context.h"

#include <QObject>

#include <array>

class QAbstractButton;
class QComboBox;

namespace Ui {
class PageCommand;
}

namespace commands {

// The configuration block ("控制器配置信息") and the controller address ("控制器地址").
class ConfigurationController final : public QObject {
    Q_OBJECT
public:
    ConfigurationController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                            QObject* parent = nullptr);

public Q_SLOTS:
    void ControllerInfoClick();
    // sender: btnSetControAddr sets, btnGetControAddr reads.
    void btnSetControAddrClick(QAbstractButton* sender);

private:
    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
    std::array<QComboBox*, kConfigFieldCount> lists_;  // in the order the block travels
};

}  // namespace commands
