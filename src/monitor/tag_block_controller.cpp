#include "monitor/tag_block_controller.h"

#include <QCoreApplication>

#include "app/console_context.h"
#include "app/form_fields.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/result_reporter.h"
#include "app/secondary_windows.h"
#include "gate/gate_library.h"
#include "monitor/find_control.h"
#include "monitor/tag_blocks.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <vector>

namespace monitor {

namespace {

QString kCaption() {
    return QCoreApplication::translate("TagData", "数据交换命令");
}
QString kInputCaption() {
    return QCoreApplication::translate("TagData", "信息提示");
}

void FillRows(QTableWidget& table, const QList<TagBlockRow>& rows) {
    table.setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        table.setItem(i, 0, new QTableWidgetItem(rows.at(i).number));
        table.setItem(i, 1, new QTableWidgetItem(rows.at(i).blockData));
    }
}

}  // namespace

TagBlockController::TagBlockController(app::ConsoleContext& ctx, app::TForm1& form)
    : QObject(&form),
      ctx_(ctx),
      form3_(form.Form3()),
      uid_(&FindControl<QLineEdit>(form, "Edit14")),
      startBlock_(&FindControl<QLineEdit>(form, "Edit15")),
      blockCount_(&FindControl<QLineEdit>(form, "Edit16")),
      blockLength_(&FindControl<QComboBox>(form, "ComboBox5")) {
    connect(&FindControl<QPushButton>(form, "GetTagData"), &QPushButton::clicked, this,
            &TagBlockController::GetTagDataClick);
    connect(&FindControl<QPushButton>(form3_, "Button1"), &QPushButton::clicked, this,
            &TagBlockController::Button1Click);
}

void TagBlockController::GetTagDataClick() {
    const auto checked = CheckTagRead(
        {uid_->text(), startBlock_->text(), blockCount_->text(), blockLength_->currentText()});
    if (const auto* refusal = std::get_if<TagReadRefusal>(&checked)) {
        if (refusal->message.isEmpty()) {
            ctx_.prompter.ConversionError(refusal->conversionError);
        } else {
            ctx_.prompter.Message(refusal->message, kInputCaption(),
                                  app::Prompter::Icon::Information);
        }
        return;
    }
    TagReadRequest request = std::get<TagReadRequest>(checked);
    // Sized for the largest permitted read (16 blocks of 4 bytes, 80 bytes with leading bytes).
    std::vector<gate::Byte> response(
        static_cast<std::size_t>(std::max(80, request.ResponseSize())));
    auto& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.ReadTagData(c.ControllerAddress, request.uid, request.startBlock,
                                            request.blockCount, request.blockLength, response,
                                            c.ReplyStatus, c.PortHandle);
    auto& table = FindControl<QTableWidget>(form3_, "ListView1");
    table.setRowCount(0);
    if (c.LastResult == gate::result::kOk) {
        const QByteArrayView bytes(reinterpret_cast<const char*>(response.data()),
                                   static_cast<qsizetype>(response.size()));
        FillRows(table, TagBlockRows(request, bytes));
        form3_.show();
    }
    ctx_.reporter.Report(kCaption(), c.LastResult, c.ReplyStatus);
}

void TagBlockController::Button1Click() {
    form3_.hide();
}

}  // namespace monitor
