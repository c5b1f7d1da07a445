#include "controllers/shell/startup_controller.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>

#include "app/form_access.h"
#include "app/main_window.h"
#include "forms/command_controls.h"
#include "gui/application_identity.h"
#include "gui/console_context.h"
#include "gui/form_fields.h"
#include "gui/result_reporter.h"

namespace app {

namespace {

// Fills a list with the decimal texts first..last and selects the item at index.
void FillNumbers(QWidget& form, const char* name, int first, int last, int index) {
    auto* list = Control<QComboBox>(form, name);
    if (list == nullptr) {
        return;
    }
    QStringList items;
    items.reserve(last - first + 1);
    for (int v = first; v <= last; ++v) {
        items.append(QString::number(v));
    }
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(index);
}

// The 45 alarm-pattern lists, five groups of nine in record order.
QList<QByteArray> AlarmPatternListNames() {
    QList<QByteArray> names{QByteArrayLiteral("ComboBox1")};
    for (int n = 13; n <= 56; ++n) {
        names.append("ComboBox" + QByteArray::number(n));
    }
    return names;
}

}  // namespace

StartupController::StartupController(gui::ConsoleContext& ctx, TForm1& form)
    : QObject(&form), ctx_(ctx), form_(form) {
    connect(&form_, &TForm1::CloseQuery, this, &StartupController::FormCloseQuery);
    connect(&form_.PageControl1(), &QTabWidget::currentChanged, this,
            &StartupController::PageControl1Change);
}

void StartupController::FormCreate() {
    gui::FormFields& f = ctx_.fields;
    f.CloseRequested = false;
    f.PollBusy = false;
    f.connection.PortHandle = -1;
    f.IF2Port = -1;

    form_.Timer1().stop();
    form_.Timer2().stop();
    form_.Timer3().stop();
    f.IF2Count = 0;

    if (auto* ports = Control<QComboBox>(form_, "ComboBox_Port")) {
        ports->clear();
        ports->addItem(QStringLiteral("Auto"));
        for (int n = 1; n <= 15; ++n) {
            if (form_.ComPorts().PortExists(n)) {
                ports->addItem(QStringLiteral("COM%1").arg(n));
            }
        }
        ports->setCurrentIndex(0);
    }

    FillNumbers(form_, "ComboBox11", 0, 255, 100);
    FillNumbers(form_, "ComboBox10", 0, 100, 20);
    for (const char* name : {"ComboBox_Relay", "ComboBox3", "ComboBox4", "ComboBox6", "ComboBox7",
                             "ComboBox8", "ComboBox_CloseReaderTime"}) {
        FillNumbers(form_, name, 0, 255, 0);
    }
    FillNumbers(form_, "ComboBox2", 0, 127, 0);

    for (const char* name : {"RadioButton_red", "rb1", "rb3", "rb9", "rb13", "RadioButton3",
                             "RadioButton5", "RadioButton7"}) {
        if (auto* radio = Control<QAbstractButton>(form_, name)) {
            radio->setChecked(true);
        }
    }

    // Every group of nine: buzzer on, off, count, LED on, off, count, relay on, off, count.
    static constexpr int kPatternIndices[9] = {1, 1, 2, 1, 1, 2, 0, 0, 1};
    const QList<QByteArray> patternLists = AlarmPatternListNames();
    for (int i = 0; i < patternLists.size(); ++i) {
        FillNumbers(form_, patternLists.at(i).constData(), 0, 255, kPatternIndices[i % 9]);
    }

    FillNumbers(form_, "ComboBox_ReaderInventory", 30, 255, 0);
    FillNumbers(form_, "ComboBox_StatTime", 3, 255, 7);
    FillNumbers(form_, "ComboBox_BlockMaxStayTime", 3, 255, 0);
    FillNumbers(form_, "ComboBox_TagOverTime", 1, 15, 4);
    FillNumbers(form_, "ComboBox_TagQuietTime", 1, 15, 1);

    gui::SetApplicationIdentity();

    for (const char* name : kCommandControls) {
        SetEnabled(form_, name, false);
    }
    for (const char* name : {"Button_C_Get", "StopGet", "Button13", "Button14", "ClosePort",
                             "Btn_GetControllerParticInfo", "Btn_CloseIF2", "CheckBox6",
                             "CheckBox8", "CheckBox9", "ComboBox10", "ComboBox11"}) {
        SetEnabled(form_, name, false);
    }
    SetEnabled(form_, "OpenPort", true);
    SetEnabled(form_, "Btn_OpenIF2", true);
}

void StartupController::FormCloseQuery() {
    ctx_.fields.CloseRequested = true;
    form_.Timer1().stop();
    form_.Timer2().stop();
    form_.Timer3().stop();
}

void StartupController::PageControl1Change() {
    const gate::ConnectionState& c = ctx_.fields.connection;
    if (c.PortHandle != -1) {
        form_.Timer1().stop();
        form_.Timer3().stop();
        Q_EMIT PageChangedWhileConnected(c.OperatingMode);
    }
    ctx_.reporter.ClearResult();
}

}  // namespace app
