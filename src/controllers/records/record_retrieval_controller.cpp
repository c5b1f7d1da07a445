#include "controllers/records/record_retrieval_controller.h"

#include <QCoreApplication>

#include "core/records/log_state.h"
#include "core/records/record_lines.h"
#include "core/records/record_text.h"
#include "core/records/stored_record.h"
#include "gui/form_fields.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"

#include "ui_page_command.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <array>
#include <limits>

namespace records {

namespace {

QString kDeleteQuestion() {
    return QCoreApplication::translate("Records", "是否删除所有后台记录");
}

}  // namespace

RecordRetrievalController::RecordRetrievalController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                                     QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page) {
    connect(page_.GetBackRecorfStatus, &QAbstractButton::clicked, this,
            &RecordRetrievalController::GetBackRecorfStatusClick);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{page_.GetFirstRecord,
                                                                      page_.GetFirstRecordAndDel}) {
        connect(b, &QAbstractButton::clicked, this, [this, b] { GetFirstRecordClick(b); });
    }
    connect(page_.SearchInRecord, &QAbstractButton::clicked, this,
            &RecordRetrievalController::SearchInRecordClick);
    // Enter in Edit31 searches. The console's key filter refuses Enter after raising
    // Edit31EnterPressed (wired by the console); until a filter takes the key, the field's own
    // Return signal does it.
    connect(page_.Edit31, &QLineEdit::returnPressed, this,
            &RecordRetrievalController::SearchInRecordClick);
    connect(page_.Btn_DeleteAllRecord, &QAbstractButton::clicked, this,
            &RecordRetrievalController::Btn_DeleteAllRecordClick);
}

void RecordRetrievalController::GetBackRecorfStatusClick() {
    page_.Edit20->clear();
    page_.Edit21->clear();
    page_.Edit22->clear();
    gate::ConnectionState& c = ctx_.fields.connection;
    const LogState state = QueryLogState(ctx_.library, c);
    // The count is shown even after a failed call: it is what the library left in it, read as
    // the unsigned number the controller sent.
    page_.Edit20->setText(QString::number(state.reportedCount));
    if (state.count != 0) {
        page_.Edit21->setText(TimeText(state.earliest));
        page_.Edit22->setText(TimeText(state.latest));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "查询后台记录状态"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::GetFirstRecordClick(QAbstractButton* pressed) {
    page_.Edit1->clear();
    gate::ConnectionState& c = ctx_.fields.connection;
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    gate::Byte length = 0;
    gate::Byte kindByte = 0;
    c.LastResult = ctx_.library.RetrieveEarliestRecord(c.ControllerAddress, body, length, kindByte,
                                                       c.ReplyStatus, c.PortHandle);
    if (length != 0 && c.LastResult == gate::result::kOk) {
        const StoredRecord record(kindByte, body, length);
        const bool deleting = pressed == page_.GetFirstRecordAndDel;
        // A clock-set record is deleted too: otherwise one at the head of the log would block
        // the one-by-one deletion for good.
        if (deleting && record.IsShownKind()) {
            ctx_.library.Acknowledge(c.ControllerAddress, c.PortHandle);
        }
        page_.Edit1->setText(EarliestRecordLine(record, util::TextTable::Display()));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "提取最早时刻记录"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::SearchInRecordClick() {
    const QString text = page_.Edit31->text();
    const QString caption = QCoreApplication::translate("Records", "信息提示");
    if (text.isEmpty()) {
        ctx_.prompter.Message(QCoreApplication::translate("Records", "请输入的记录序号"), caption,
                              gui::Prompter::Icon::Information);
        return;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok) {
        ctx_.prompter.ConversionError(text);
        return;
    }
    // Zero, and (only by pasting) negative or too large for a 32-bit index.
    if (value <= 0 || value > std::numeric_limits<std::int32_t>::max()) {
        ctx_.prompter.Message(QCoreApplication::translate("Records", "输入的记录序号必须大于0"),
                              caption, gui::Prompter::Icon::Information);
        return;
    }
    const auto index = static_cast<std::int32_t>(value);
    page_.Edit1->clear();
    gate::ConnectionState& c = ctx_.fields.connection;
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    gate::Byte length = 0;
    gate::Byte kindByte = 0;
    c.LastResult = ctx_.library.RetrieveRecordByIndex(c.ControllerAddress, index, body, length,
                                                      kindByte, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        page_.Edit1->setText(IndexedRecordLine(index, StoredRecord(kindByte, body, length),
                                               util::TextTable::Display()));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "提取指定序号记录"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::Btn_DeleteAllRecordClick() {
    if (ctx_.prompter.Message(kDeleteQuestion(), QCoreApplication::translate("Records", "提示"),
                              gui::Prompter::Icon::Question,
                              gui::Prompter::Buttons::OkCancel) != gui::Prompter::Answer::Ok) {
        return;
    }
    gate::ConnectionState& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.DeleteAllRecord(c.ControllerAddress, c.ReplyStatus, c.PortHandle);
    page_.Edit1->clear();
    ctx_.reporter.ReportChange(QCoreApplication::translate("Records", "删除所有后台记录"),
                               c.LastResult, c.ReplyStatus);
}

}  // namespace records
