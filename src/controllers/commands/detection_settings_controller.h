#pragma once

#include "gui/console_context.h"

#include <QObject>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace gui {
class ReadBackField;
}

namespace commands {

// Person-tag correlation (" 人卡智能关联设定") with the reactions of its check boxes, and the
// tag-data reading settings ("读取数据配置").
class DetectionSettingsController final : public QObject {
    Q_OBJECT
public:
    explicit DetectionSettingsController(gui::ConsoleContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // sender: Button1 sets, Button2 reads.
    void Button1Click(QAbstractButton* sender);
    // sender: Button3 sets, Button4 reads.
    void Button3Click(QAbstractButton* sender);
    void CheckBox5Click();
    void CheckBox6Click();

private:
    void readCorrelation();
    void setCorrelation();
    void readTagData();
    void setTagData();

    gui::ConsoleContext ctx_;
    QAbstractButton* setCorrelation_;
    QCheckBox* enabled_;     // CheckBox5
    QCheckBox* useDefault_;  // CheckBox6
    QCheckBox* unique_;      // CheckBox8
    QCheckBox* early_;       // CheckBox9
    QComboBox* lead_;        // ComboBox10
    QComboBox* lag_;         // ComboBox11
    QAbstractButton* setTagData_;
    QCheckBox* readBlocks_;  // CheckBox10
    QCheckBox* reread_;      // CheckBox11
    QComboBox* repeat_;      // ComboBox12
    QLineEdit* startBlock_;  // Edit3
    QLineEdit* blockCount_;  // Edit2
    // Start block and count read back are shown whole (a start block may exceed two digits).
    gui::ReadBackField* startShown_;
    gui::ReadBackField* countShown_;
};

}  // namespace commands
