#pragma once

#include "gui/console_context.h"

#include <QObject>

#include <cstdint>

namespace Ui {
class PageCommand;
}

namespace commands {

// The mode and option switches of the command page: operating mode, infrared direction,
// reader-loss alarm, background-record writing, save or restore, automatic loading.
class SwitchesController final : public QObject {
    Q_OBJECT
public:
    SwitchesController(gui::ConsoleContext ctx, Ui::PageCommand& page, QObject* parent = nullptr);

public Q_SLOTS:
    void Button5Click();   // mode set
    void Button6Click();   // mode read
    void Button7Click();   // infrared direction set
    void Button8Click();   // infrared direction read
    void Button9Click();   // reader-loss alarm set
    void Button10Click();  // reader-loss alarm read
    void btnSetBackRecordClick();
    void btnReadBackRecordClick();
    void Button16Click();  // save or restore the configuration
    void Button17Click();  // automatic loading

Q_SIGNALS:
    // The controller took a new operating mode (a running poll keeps running; the monitoring
    // buttons follow the mode).
    void OperatingModeSet(std::uint8_t mode);

private:
    void ShowStamped(const QString& text);

    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
};

}  // namespace commands
