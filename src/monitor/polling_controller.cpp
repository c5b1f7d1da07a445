#include "monitor/polling_controller.h"

#include "app/console_context.h"
#include "app/main_window.h"
#include "app/message_list.h"
#include "app/result_reporter.h"
#include "monitor/find_control.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

namespace monitor {

namespace {

void Invert(QPushButton& button) {
    button.setEnabled(!button.isEnabled());
}

}  // namespace

PollingController::PollingController(app::ConsoleContext& ctx, app::TForm1& form)
    : QObject(&form),
      ctx_(ctx),
      form_(form),
      poller_(ctx.library,
              {ctx.fields.connection, ctx.fields.PollBusy, ctx.fields.LastNoPersonText}, *this,
              util::TextTable::Display()),
      startChannel_(&FindControl<QPushButton>(form, "Button_C_Get")),
      stopChannel_(&FindControl<QPushButton>(form, "StopGet")),
      startEas_(&FindControl<QPushButton>(form, "Button13")),
      stopEas_(&FindControl<QPushButton>(form, "Button14")) {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        lists_[i] = &FindControl<app::MessageList>(form, ListObjectName(MonitorList(i)));
    }
    const char* led[] = {"ComboBox6", "ComboBox8", "ComboBox3",
                         "ComboBox7", "ComboBox4", "ComboBox2"};
    for (std::size_t i = 0; i < ledBuzzerLists_.size(); ++i) {
        ledBuzzerLists_[i] = &FindControl<QComboBox>(form, led[i]);
    }
    connect(&form.Timer1(), &QTimer::timeout, this, &PollingController::Timer1Timer);
    connect(&form.Timer3(), &QTimer::timeout, this, &PollingController::Timer3Timer);
    connect(startChannel_, &QPushButton::clicked, this, &PollingController::Button_C_GetClick);
    connect(stopChannel_, &QPushButton::clicked, this, &PollingController::StopGetClick);
    connect(startEas_, &QPushButton::clicked, this, &PollingController::Button13Click);
    connect(stopEas_, &QPushButton::clicked, this, &PollingController::Button14Click);
    connect(&FindControl<QPushButton>(form, "ClearGetInformation"), &QPushButton::clicked, this,
            &PollingController::ClearGetInformationClick);
    connect(&FindControl<QPushButton>(form, "Button15"), &QPushButton::clicked, this,
            &PollingController::Button15Click);
}

bool PollingController::TickMayRun(QTimer& timer) {
    if (ctx_.fields.PollBusy) {
        return false;  // a poll is still running further down the call stack
    }
    if (ctx_.fields.CloseRequested) {
        form_.close();
    }
    if (!ctx_.fields.connection.IsOpen()) {
        timer.stop();
        return false;
    }
    return true;
}

void PollingController::Timer1Timer() {
    if (TickMayRun(form_.Timer1())) {
        poller_.PollChannelMessage();
    }
}

void PollingController::Timer3Timer() {
    if (TickMayRun(form_.Timer3())) {
        poller_.PollEASMessage();
    }
}

void PollingController::Button_C_GetClick() {
    Invert(*startChannel_);
    Invert(*stopChannel_);
    form_.Timer1().start();
}

void PollingController::StopGetClick() {
    Invert(*startChannel_);
    Invert(*stopChannel_);
    form_.Timer1().stop();
}

void PollingController::Button13Click() {
    Invert(*startEas_);
    Invert(*stopEas_);
    form_.Timer3().start();
}

void PollingController::Button14Click() {
    Invert(*startEas_);
    Invert(*stopEas_);
    form_.Timer3().stop();
}

void PollingController::ClearGetInformationClick() {
    for (MonitorList list : {MonitorList::ListBox2, MonitorList::ListBox3, MonitorList::ListBox4,
                             MonitorList::ListBox5, MonitorList::ListBox6, MonitorList::ListBox1,
                             MonitorList::ListBox7}) {
        List(list).Clear();
    }
}

void PollingController::Button15Click() {
    for (MonitorList list :
         {MonitorList::Lst1, MonitorList::Lst2, MonitorList::Lst3, MonitorList::Lst4}) {
        List(list).Clear();
    }
}

app::MessageList& PollingController::List(MonitorList list) {
    return *lists_[static_cast<std::size_t>(list)];
}

void PollingController::AppendLine(MonitorList list, const QString& line) {
    List(list).AppendLine(line);
}

void PollingController::ScrollToNewest(MonitorList list) {
    List(list).ScrollToNewest();
}

void PollingController::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

std::optional<std::array<gate::Byte, 6>> PollingController::LedBuzzerSelection() {
    std::array<gate::Byte, 6> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<gate::Byte>(ledBuzzerLists_[i]->currentIndex());
    }
    return values;
}

void PollingController::Report(const QString& caption, std::int32_t result, gate::Byte status) {
    ctx_.reporter.Report(caption, result, status);
}

}  // namespace monitor
