#include "records/record_retrieval_controller.h"

#include <QCoreApplication>

#include "app/console_context.h"
#include "app/form_fields.h"
#include "app/prompter.h"
#include "app/result_reporter.h"
#include "records/log_state.h"
#include "records/record_lines.h"
#include "records/record_text.h"
#include "records/stored_record.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <array>
#include <limits>

namespace records {

namespace {

QString kDeleteQuestion() {
    return QCoreApplication::translate("Records", "是否删除所有后台记录");
}

void SetText(QLineEdit* edit, const QString& text) {
    if (edit != nullptr) {
        edit->setText(text);
    }
}

}  // namespace

RecordRetrievalController::RecordRetrievalController(app::ConsoleContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {
    const auto button = [&](const char* name) {
        return ctx_.form.findChild<QAbstractButton*>(QString::fromLatin1(name));
    };
    if (auto* b = button("GetBackRecorfStatus")) {
        connect(b, &QAbstractButton::clicked, this,
                &RecordRetrievalController::GetBackRecorfStatusClick);
    }
    for (const char* name : {"GetFirstRecord", "GetFirstRecordAndDel"}) {
        if (auto* b = button(name)) {
            connect(b, &QAbstractButton::clicked, this, [this, b] { GetFirstRecordClick(b); });
        }
    }
    if (auto* b = button("SearchInRecord")) {
        connect(b, &QAbstractButton::clicked, this,
                &RecordRetrievalController::SearchInRecordClick);
    }
    // Enter in Edit31 searches. The main window's key filter refuses Enter after raising
    // Edit31EnterPressed (bound in InstallControllers); until a filter takes the key, the field's
    // own Return signal does it.
    if (auto* edit31 = Edit("Edit31")) {
        connect(edit31, &QLineEdit::returnPressed, this,
                &RecordRetrievalController::SearchInRecordClick);
    }
    if (auto* b = button("Btn_DeleteAllRecord")) {
        connect(b, &QAbstractButton::clicked, this,
                &RecordRetrievalController::Btn_DeleteAllRecordClick);
    }
}

QLineEdit* RecordRetrievalController::Edit(const char* name) const {
    return ctx_.form.findChild<QLineEdit*>(QString::fromLatin1(name));
}

void RecordRetrievalController::GetBackRecorfStatusClick() {
    SetText(Edit("Edit20"), {});
    SetText(Edit("Edit21"), {});
    SetText(Edit("Edit22"), {});
    gate::ConnectionState& c = ctx_.fields.connection;
    const LogState state = QueryLogState(ctx_.library, c);
    // The count is shown even after a failed call: it is what the library left in it.
    SetText(Edit("Edit20"), QString::number(state.count));
    if (state.count != 0) {
        SetText(Edit("Edit21"), TimeText(state.earliest));
        SetText(Edit("Edit22"), TimeText(state.latest));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "查询后台记录状态"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::GetFirstRecordClick(QObject* pressed) {
    SetText(Edit("Edit1"), {});
    gate::ConnectionState& c = ctx_.fields.connection;
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    gate::Byte length = 0;
    gate::Byte kindByte = 0;
    c.LastResult = ctx_.library.RetrieveEarliestRecord(c.ControllerAddress, body, length, kindByte,
                                                       c.ReplyStatus, c.PortHandle);
    if (length != 0 && c.LastResult == gate::result::kOk) {
        const StoredRecord record(kindByte, body, length);
        const bool deleting =
            pressed != nullptr && pressed->objectName() == QStringLiteral("GetFirstRecordAndDel");
        // A clock-set record is deleted too: otherwise one at the head of the log would block
        // the one-by-one deletion for good.
        if (deleting && record.IsShownKind()) {
            ctx_.library.Acknowledge(c.ControllerAddress, c.PortHandle);
        }
        SetText(Edit("Edit1"), EarliestRecordLine(record, util::TextTable::Display()));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "提取最早时刻记录"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::SearchInRecordClick() {
    QLineEdit* edit31 = Edit("Edit31");
    const QString text = edit31 != nullptr ? edit31->text() : QString();
    const QString caption = QCoreApplication::translate("Records", "信息提示");
    if (text.isEmpty()) {
        ctx_.prompter.Message(QCoreApplication::translate("Records", "请输入的记录序号"), caption,
                              app::Prompter::Icon::Information);
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
                              caption, app::Prompter::Icon::Information);
        return;
    }
    const auto index = static_cast<std::int32_t>(value);
    SetText(Edit("Edit1"), {});
    gate::ConnectionState& c = ctx_.fields.connection;
    std::array<gate::Byte, gate::kRecordBufferSize> body{};
    gate::Byte length = 0;
    gate::Byte kindByte = 0;
    c.LastResult = ctx_.library.RetrieveRecordByIndex(c.ControllerAddress, index, body, length,
                                                      kindByte, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        SetText(Edit("Edit1"), IndexedRecordLine(index, StoredRecord(kindByte, body, length),
                                                 util::TextTable::Display()));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Records", "提取指定序号记录"), c.LastResult,
                         c.ReplyStatus);
}

void RecordRetrievalController::Btn_DeleteAllRecordClick() {
    if (ctx_.prompter.Message(kDeleteQuestion(), QCoreApplication::translate("Records", "提示"),
                              app::Prompter::Icon::Question,
                              app::Prompter::Buttons::OkCancel) != app::Prompter::Answer::Ok) {
        return;
    }
    gate::ConnectionState& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.DeleteAllRecord(c.ControllerAddress, c.ReplyStatus, c.PortHandle);
    SetText(Edit("Edit1"), {});
    ctx_.reporter.Report(QCoreApplication::translate("Records", "删除所有后台记录"), c.LastResult,
                         c.ReplyStatus);
}

}  // namespace records
