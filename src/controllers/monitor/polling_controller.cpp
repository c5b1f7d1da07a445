#include "controllers/monitor/polling_controller.h"

#include "controllers/monitor/monitor_buttons.h"
#include "gui/form_fields.h"
#include "gui/message_list.h"
#include "gui/result_reporter.h"
#include "ui_page_channel.h"
#include "ui_page_command.h"
#include "ui_page_eas.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

namespace monitor {

PollingController::PollingController(gui::ConsoleContext ctx, Window window,
                                     MonitorButtons& buttons, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      w_(window),
      buttons_(buttons),
      poller_(ctx.library,
              {ctx.fields.connection, ctx.fields.PollBusy, ctx.fields.LastNoPersonText}, *this,
              util::TextTable::Display()),
      lists_{window.channel.ListBox1, window.channel.ListBox2, window.channel.ListBox3,
             window.channel.ListBox4, window.channel.ListBox5, window.channel.ListBox6,
             window.channel.ListBox7, window.eas.lst1,         window.eas.lst2,
             window.eas.lst3,         window.eas.lst4},
      ledBuzzerLists_{window.command.ComboBox6, window.command.ComboBox8,
                      window.command.ComboBox3, window.command.ComboBox7,
                      window.command.ComboBox4, window.command.ComboBox2} {
    connect(&w_.timer1, &QTimer::timeout, this, &PollingController::Timer1Timer);
    connect(&w_.timer3, &QTimer::timeout, this, &PollingController::Timer3Timer);
    connect(w_.channel.Button_C_Get, &QPushButton::clicked, this,
            &PollingController::Button_C_GetClick);
    connect(w_.channel.StopGet, &QPushButton::clicked, this, &PollingController::StopGetClick);
    connect(w_.eas.Button13, &QPushButton::clicked, this, &PollingController::Button13Click);
    connect(w_.eas.Button14, &QPushButton::clicked, this, &PollingController::Button14Click);
    connect(w_.channel.ClearGetInformation, &QPushButton::clicked, this,
            &PollingController::ClearGetInformationClick);
    connect(w_.eas.Button15, &QPushButton::clicked, this, &PollingController::Button15Click);
}

bool PollingController::TickMayRun(QTimer& timer) {
    if (ctx_.fields.PollBusy) {
        return false;  // a poll is still running further down the call stack
    }
    if (ctx_.fields.CloseRequested) {
        w_.mainWindow.close();
    }
    if (!ctx_.fields.connection.IsOpen()) {
        timer.stop();
        return false;
    }
    return true;
}

void PollingController::Timer1Timer() {
    if (TickMayRun(w_.timer1)) {
        poller_.PollChannelMessage();
    }
}

void PollingController::Timer3Timer() {
    if (TickMayRun(w_.timer3)) {
        poller_.PollEASMessage();
    }
}

void PollingController::Button_C_GetClick() {
    buttons_.InvertChannel();
    w_.timer1.start();
}

void PollingController::StopGetClick() {
    buttons_.InvertChannel();
    w_.timer1.stop();
}

void PollingController::Button13Click() {
    buttons_.InvertEas();
    w_.timer3.start();
}

void PollingController::Button14Click() {
    buttons_.InvertEas();
    w_.timer3.stop();
}

void PollingController::StopPolls() {
    w_.timer1.stop();
    w_.timer3.stop();
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

gui::MessageList& PollingController::List(MonitorList list) {
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
