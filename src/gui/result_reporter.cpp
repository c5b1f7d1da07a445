#include "gui/result_reporter.h"

#include "gui/status_bar.h"
#include "util/clock.h"
#include "util/result_text.h"

namespace gui {

void ResultReporter::ShowCommandResult(const QString& caption, std::uint8_t result) {
    ClearResult();
    bar_.SetPanel(0, util::CommandResultLine(clock_.now().time(), caption, result,
                                             util::TextTable::Display()));
}

void ResultReporter::ShowReplyStatus(std::uint8_t status) {
    bar_.SetPanel(1, util::ReplyStatusText(status, util::TextTable::Display()));
}

void ResultReporter::Report(const QString& caption, std::int32_t result, std::uint8_t replyStatus) {
    ShowCommandResult(caption, static_cast<std::uint8_t>(result & 0xFF));
    bar_.SetPanel(1, QString());
    if (result == 0) {
        ShowReplyStatus(replyStatus);
    }
}

void ResultReporter::ReportChange(const QString& caption, std::int32_t result,
                                  std::uint8_t replyStatus) {
    ClearResult();
    bar_.SetPanel(0, util::ChangeResultLine(clock_.now().time(), caption,
                                            static_cast<std::uint8_t>(result & 0xFF),
                                            util::TextTable::Display()));
    if (result == 0) {
        ShowReplyStatus(replyStatus);
    }
}

void ResultReporter::ShowText(const QString& text) {
    bar_.SetPanel(0, text);
}

void ResultReporter::ClearResult() {
    bar_.SetPanel(0, QString());
    bar_.SetPanel(1, QString());
}

}  // namespace gui
