#include "controllers/records/record_export_controller.h"

#include <QCoreApplication>

#include "controllers/records/export_progress_view.h"
#include "core/records/export_deletion.h"
#include "core/records/log_state.h"
#include "core/records/record_exporter.h"
#include "gui/form_fields.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "ui_page_command.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace records {

namespace {

QString kNotice() {
    return QCoreApplication::translate("Records", "提示");
}

}  // namespace

RecordExportController::RecordExportController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                               ExportDirectories dirs, QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), dirs_(std::move(dirs)) {
    connect(page_.SaveRecordAsTextFile, &QAbstractButton::clicked, this,
            &RecordExportController::SaveRecordAsTextFileClick);
    connect(page_.SaveAndDeleteAll, &QAbstractButton::clicked, this,
            &RecordExportController::SaveAndDeleteAllClick);
}

void RecordExportController::SaveRecordAsTextFileClick() {
    RunExport();
}

std::optional<ExportOutcome> RecordExportController::RunExport() {
    page_.SaveAndDeleteAll->setEnabled(false);
    gate::ConnectionState& c = ctx_.fields.connection;
    RecordExporter exporter(ctx_.library, c);
    if (!exporter.CreateFile(dirs_, ctx_.clock.now())) {
        // SaveAndDeleteAll stays disabled until the next connection enables it.
        ShowFileError(exporter.Outcome());
        return std::nullopt;
    }
    bool locked = false;
    if (exporter.QueryStatus()) {
        ExportProgressView progress(ctx_.reporter.Bar());
        progress.ShowWaiting();
        Q_EMIT LockButtons();
        locked = true;
        exporter.WriteRecords([&progress](std::int32_t written, std::int32_t total) {
            progress.Update(written, total);
        });
    }
    const bool written = exporter.Close();
    if (locked) {
        Q_EMIT RestoreButtons();
    }
    const ExportOutcome outcome = exporter.Outcome();
    if (!written) {
        ctx_.reporter.ClearResult();  // the waiting text and the progress are over
        ShowFileError(outcome);
        return std::nullopt;
    }
    page_.SaveAndDeleteAll->setEnabled(true);
    if (outcome.log.countOutOfRange) {
        ShowCountOutOfRange(outcome.log);
        return outcome;
    }
    ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Records", "保存所有后台记录"),
                                    static_cast<std::uint8_t>(outcome.lastResult & 0xFF));
    // Where the file went: panel 1 is free after this report, which has no reply status.
    const QString where = QDir::toNativeSeparators(outcome.path);
    ctx_.reporter.Bar().SetPanel(1,
                                 QCoreApplication::translate("Records", "已保存到 %1").arg(where));
    ctx_.reporter.Bar().PanelLabel(1)->setToolTip(where);
    return outcome;
}

void RecordExportController::ShowCountOutOfRange(const LogState& log) {
    ctx_.reporter.ClearResult();
    ctx_.prompter.Message(
        QCoreApplication::translate("Records",
                                    "控制器报告的后台记录数 %1 超出范围(最多 %2 条),"
                                    "没有存储或删除任何后台记录")
            .arg(log.reportedCount)
            .arg(kMaxRecordCount),
        kNotice(), gui::Prompter::Icon::Warning);
}

void RecordExportController::ShowNotDeletable(const ExportOutcome& outcome) {
    QString text;
    if (outcome.log.countOutOfRange) {
        return;  // said by the export already
    }
    if (outcome.Complete() && outcome.unrepresentable > 0) {
        text = QCoreApplication::translate(
                   "Records",
                   "%1 条后台记录无法写入文本文件(第 %2 条),没有删除任何后台记录;"
                   "gatectl records export --format csv 可保存这些记录(含原始数据)")
                   .arg(outcome.unrepresentable)
                   .arg(UnrepresentableIndexText(outcome));
    } else if (outcome.Complete() && !outcome.synced) {
        text = QCoreApplication::translate("Records", "文件未能写入磁盘,没有删除任何后台记录");
    } else {
        text = QCoreApplication::translate("Records",
                                           "后台记录未能全部存储到文件,没有删除任何后台记录");
    }
    ctx_.prompter.Message(text, kNotice(), gui::Prompter::Icon::Warning);
}

void RecordExportController::ShowFileError(const ExportOutcome& outcome) {
    const QString text =
        (outcome.created ? QCoreApplication::translate("Records", "无法写入文件 %1")
                         : QCoreApplication::translate("Records", "无法创建文件 %1"))
            .arg(QDir::toNativeSeparators(outcome.path)) %
        QStringLiteral("\n") % outcome.fileError;
    ctx_.prompter.Error(text, QCoreApplication::translate("Records", "文件错误"));
}

void RecordExportController::SaveAndDeleteAllClick() {
    page_.SaveRecordAsTextFile->setEnabled(false);
    const std::optional<ExportOutcome> outcome = RunExport();
    if (!outcome) {
        return;  // file error: no question, and both export buttons stay disabled
    }
    page_.SaveRecordAsTextFile->setEnabled(true);
    if (!MayDeleteAfter(*outcome)) {
        ShowNotDeletable(*outcome);
        return;
    }
    if (ctx_.prompter.Message(QCoreApplication::translate("Records", "是否删除所有后台记录"),
                              kNotice(), gui::Prompter::Icon::Question,
                              gui::Prompter::Buttons::OkCancel) != gui::Prompter::Answer::Ok) {
        return;
    }
    const QString caption = QCoreApplication::translate("Records", "保存并删除所有后台记录");
    gate::ConnectionState& c = ctx_.fields.connection;
    const DeletionOutcome deletion = DeleteIfUnchanged(ctx_.library, c, outcome->log);
    if (deletion.kind == DeletionOutcome::Kind::StateUnknown && deletion.now.countOutOfRange) {
        ShowCountOutOfRange(deletion.now);
        return;
    }
    if (deletion.kind == DeletionOutcome::Kind::StateUnknown) {
        ctx_.reporter.Report(caption, c.LastResult, c.ReplyStatus);
        ctx_.prompter.Message(
            QCoreApplication::translate("Records", "无法确认后台记录状态,没有删除任何后台记录"),
            kNotice(), gui::Prompter::Icon::Warning);
        return;
    }
    if (deletion.kind == DeletionOutcome::Kind::LogChanged) {
        ctx_.prompter.Message(
            QCoreApplication::translate("Records",
                                        "存储后后台记录已有变化,没有删除任何后台记录,请重新存储"),
            kNotice(), gui::Prompter::Icon::Warning);
        return;
    }
    page_.Edit1->clear();
    ctx_.reporter.ReportChange(caption, c.LastResult, c.ReplyStatus);
}

}  // namespace records
