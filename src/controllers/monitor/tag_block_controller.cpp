#include "controllers/monitor/tag_block_controller.h"

#include <QCoreApplication>

#include "core/monitor/tag_blocks.h"
#include "forms/secondary_windows.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "ui_form3.h"
#include "ui_page_channel.h"

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
QString InputCaption() {
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

TagBlockController::TagBlockController(gui::ConsoleContext ctx, Ui::PageChannel& page,
                                       forms::TForm3& form3, QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), form3_(form3) {
    connect(page_.GetTagData, &QPushButton::clicked, this, &TagBlockController::GetTagDataClick);
    connect(form3_.ui().Button1, &QPushButton::clicked, this, &TagBlockController::Button1Click);
}

void TagBlockController::GetTagDataClick() {
    const auto checked = CheckTagRead({page_.Edit14->text(), page_.Edit15->text(),
                                       page_.Edit16->text(), page_.ComboBox5->currentText()});
    if (const auto* refusal = std::get_if<TagReadRefusal>(&checked)) {
        if (refusal->message.isEmpty()) {
            ctx_.prompter.ConversionError(refusal->conversionError);
        } else {
            ctx_.prompter.Message(refusal->message, InputCaption(),
                                  gui::Prompter::Icon::Information);
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
    QTableWidget& table = *form3_.ui().ListView1;
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
