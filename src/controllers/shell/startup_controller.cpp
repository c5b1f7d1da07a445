#include "controllers/shell/startup_controller.h"

#include "controllers/shell/connection_controller.h"
#include "core/commands/config_values.h"
#include "forms/control_groups.h"
#include "gate/com_port_table.h"
#include "gui/application_identity.h"
#include "gui/form_fields.h"
#include "gui/result_reporter.h"
#include "ui_page_alarm.h"
#include "ui_page_command.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>

#include <array>

namespace shell {

namespace {

// Fills a list with the decimal texts first..last and selects the item at index.
void FillNumbers(QComboBox& list, int first, int last, int index) {
    QStringList items;
    items.reserve(last - first + 1);
    for (int v = first; v <= last; ++v) {
        items.append(QString::number(v));
    }
    list.clear();
    list.addItems(items);
    list.setCurrentIndex(index);
}

}  // namespace

StartupController::StartupController(gui::ConsoleContext ctx, Window window,
                                     ConnectionController& connection, QObject* parent)
    : QObject(parent), ctx_(ctx), w_(window), connection_(connection) {
    connect(&w_.pages, &QTabWidget::currentChanged, this, &StartupController::PageControl1Change);
}

void StartupController::FormCreate() {
    gui::FormFields& f = ctx_.fields;
    f.CloseRequested = false;
    f.PollBusy = false;
    f.connection.PortHandle = -1;
    f.IF2Port = -1;

    w_.timer1.stop();
    w_.timer2.stop();
    w_.timer3.stop();
    f.IF2Count = 0;

    Ui::PageCommand& c = w_.command;
    c.ComboBox_Port->clear();
    c.ComboBox_Port->addItem(QStringLiteral("Auto"));
    for (int n = 1; n <= 15; ++n) {
        if (w_.comPorts.PortExists(n)) {
            c.ComboBox_Port->addItem(QStringLiteral("COM%1").arg(n));
        }
    }
    c.ComboBox_Port->setCurrentIndex(0);

    FillNumbers(*c.ComboBox11, 0, 255, 100);
    FillNumbers(*c.ComboBox10, 0, 100, 20);
    for (QComboBox* list :
         {c.ComboBox_Relay, c.ComboBox3, c.ComboBox4, c.ComboBox6, c.ComboBox7, c.ComboBox8}) {
        FillNumbers(*list, 0, 255, 0);
    }
    FillNumbers(*c.ComboBox2, 0, 127, 0);

    for (QAbstractButton* radio : {c.RadioButton_red, c.rb1, c.rb3, c.rb9, c.rb13, c.RadioButton3,
                                   c.RadioButton5, w_.alarm.RadioButton7}) {
        radio->setChecked(true);
    }

    // Every group of nine: buzzer on, off, count, LED on, off, count, relay on, off, count.
    static constexpr int kPatternIndices[9] = {1, 1, 2, 1, 1, 2, 0, 0, 1};
    const auto patternLists = forms::AlarmPatternLists(w_.alarm);
    for (std::size_t i = 0; i < patternLists.size(); ++i) {
        FillNumbers(*patternLists[i], 0, 255, kPatternIndices[i % 9]);
    }

    // The six numeric lists of the configuration, over the ranges its conversions read them by;
    // the start selections in the order the block travels.
    static constexpr std::array<int, 6> kConfigIndices{0, 0, 7, 4, 1, 0};
    const auto configLists = forms::ConfigurationLists(c);
    for (std::size_t i = 0; i < kConfigIndices.size(); ++i) {
        const commands::ConfigFieldInfo& field = commands::ConfigFieldOf(static_cast<int>(i));
        FillNumbers(*configLists[i], field.first, field.last, kConfigIndices[i]);
    }

    gui::SetApplicationIdentity();

    // Every control that needs a connection starts disabled, as after a close. (The person-tag
    // settings follow CheckBox5, which starts unchecked; "打开网口" and "关闭网口" keep the states
    // of the window definition.)
    connection_.ClearLastInfo();
}

void StartupController::FormCloseQuery() {
    ctx_.fields.CloseRequested = true;
    w_.timer1.stop();
    w_.timer2.stop();
    w_.timer3.stop();
}

void StartupController::PageControl1Change() {
    const gate::ConnectionState& c = ctx_.fields.connection;
    if (c.PortHandle != -1) {
        w_.timer1.stop();
        w_.timer3.stop();
        Q_EMIT PageChangedWhileConnected(c.OperatingMode);
    }
    ctx_.reporter.ClearResult();
}

}  // namespace shell
