#pragma once

#include "gui/console_context.h"

#include <QObject>

class QAbstractButton;

namespace Ui {
class PageCommand;
}
namespace gui {
class ReadBackField;
}

namespace commands {

// Person-tag correlation (" 人卡智能关联设定") with the reactions of its check boxes, and the
// tag-data reading settings ("读取数据配置").
class DetectionSettingsController final : public QObject {
    Q_OBJECT
public:
    DetectionSettingsController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                QObject* parent = nullptr);

public Q_SLOTS:
    // sender: Button1 sets, Button2 reads.
    void Button1Click(QAbstractButton* sender);
    // sender: Button3 sets, Button4 reads.
    void Button3Click(QAbstractButton* sender);
    void CheckBox5Click();
    void CheckBox6Click();

private:
    void ReadCorrelation();
    void SetCorrelation();
    void ReadTagData();
    void SetTagData();

    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
    // Start block (Edit3) and count (Edit2) read back are shown whole (a start block may exceed
    // two digits).
    gui::ReadBackField* startShown_;
    gui::ReadBackField* countShown_;
};

}  // namespace commands
