#pragma once

#include "gui/console_context.h"

#include <QObject>

class QRadioButton;

namespace commands {

// The mode and option switches of the command page: operating mode, infrared direction,
// reader-loss alarm, background-record writing, save or restore, automatic loading.
class SwitchesController final : public QObject {
    Q_OBJECT
public:
    explicit SwitchesController(gui::ConsoleContext& ctx, QObject* parent = nullptr);

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

private:
    void showStamped(const QString& text);

    gui::ConsoleContext ctx_;
    QRadioButton* channelMode_;   // rb1
    QRadioButton* easMode_;       // rb2
    QRadioButton* irReverse_;     // rb4
    QRadioButton* lossAlarm_;     // rb10
    QRadioButton* writeRecords_;  // rb14
    QRadioButton* save_;          // RadioButton3
    QRadioButton* autoLoad_;      // RadioButton5
};

}  // namespace commands
