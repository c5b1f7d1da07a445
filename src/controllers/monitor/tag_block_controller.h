#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;

namespace app {
class TForm1;
}
namespace forms {
class TForm3;
}
namespace gui {
struct ConsoleContext;
}

namespace monitor {

// "获取卡片数据": reads memory blocks of one tag through the controller and shows them in the
// block-data window Form3.
class TagBlockController final : public QObject {
    Q_OBJECT
public:
    TagBlockController(gui::ConsoleContext& ctx, app::TForm1& form);

    void GetTagDataClick();
    void Button1Click();  // Form3's "关闭"

private:
    gui::ConsoleContext& ctx_;
    forms::TForm3& form3_;
    QLineEdit* uid_;
    QLineEdit* startBlock_;
    QLineEdit* blockCount_;
    QComboBox* blockLength_;
};

}  // namespace monitor
