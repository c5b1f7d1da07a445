#pragma once

#include "gui/console_context.h"

#include <QObject>

namespace Ui {
class PageChannel;
}
namespace forms {
class TForm3;
}

namespace monitor {

// "获取卡片数据": reads memory blocks of one tag through the controller and shows them in the
// block-data window Form3.
class TagBlockController final : public QObject {
    Q_OBJECT
public:
    TagBlockController(gui::ConsoleContext ctx, Ui::PageChannel& page, forms::TForm3& form3,
                       QObject* parent = nullptr);

    void GetTagDataClick();
    void Button1Click();  // Form3's "关闭"

private:
    gui::ConsoleContext ctx_;
    Ui::PageChannel& page_;
    forms::TForm3& form3_;
};

}  // namespace monitor
