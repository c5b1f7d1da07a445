#include "controllers/commands/detection_settings_controller.h"

#include <QCoreApplication>

#include "core/commands/config_values.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/list_selection.h"
#include "gui/prompter.h"
#include "gui/read_back_field.h"
#include "gui/result_reporter.h"
#include "ui_page_command.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace commands {

namespace {
// The controller's default lead and lag times, selected while "use the defaults" is checked.
constexpr int kDefaultLeadIndex = 20;
constexpr int kDefaultLagIndex = 100;
}  // namespace

DetectionSettingsController::DetectionSettingsController(gui::ConsoleContext ctx,
                                                         Ui::PageCommand& page, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      page_(page),
      startShown_(new gui::ReadBackField(*page.Edit3)),
      countShown_(new gui::ReadBackField(*page.Edit2)) {
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{page_.Button1, page_.Button2}) {
        connect(b, &QAbstractButton::clicked, this, [this, b] { Button1Click(b); });
    }
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{page_.Button3, page_.Button4}) {
        connect(b, &QAbstractButton::clicked, this, [this, b] { Button3Click(b); });
    }
    // toggled, not clicked: a state set by a read runs the reaction just as a click does, and
    // setting the state a box already has runs nothing.
    connect(page_.CheckBox5, &QCheckBox::toggled, this,
            &DetectionSettingsController::CheckBox5Click);
    connect(page_.CheckBox6, &QCheckBox::toggled, this,
            &DetectionSettingsController::CheckBox6Click);
    CheckBox5Click();  // the dependent controls follow CheckBox5 from the start
}

void DetectionSettingsController::CheckBox5Click() {
    const bool on = page_.CheckBox5->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{page_.CheckBox6, page_.CheckBox8, page_.CheckBox9,
                                         page_.ComboBox10, page_.ComboBox11}) {
        w->setEnabled(on);
    }
}

void DetectionSettingsController::CheckBox6Click() {
    if (page_.CheckBox6->isChecked()) {
        page_.ComboBox10->setEnabled(false);
        gui::SelectItemOrNone(*page_.ComboBox10, kDefaultLeadIndex);
        page_.ComboBox11->setEnabled(false);
        gui::SelectItemOrNone(*page_.ComboBox11, kDefaultLagIndex);
    } else {
        page_.ComboBox10->setEnabled(true);
        page_.ComboBox11->setEnabled(true);
    }
}

void DetectionSettingsController::Button1Click(QAbstractButton* sender) {
    if (sender == page_.Button1) {
        SetCorrelation();
    } else {
        ReadCorrelation();
    }
}

void DetectionSettingsController::ReadCorrelation() {
    auto& c = ctx_.fields.connection;
    gate::Byte flags = 0;
    gate::Byte lead = 0;
    gate::Byte lag = 0;
    c.LastResult = ctx_.library.TagPersonCorrelation(c.ControllerAddress, flags, lead, lag,
                                                     c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        gui::SelectItemOrNone(*page_.ComboBox10, lead);
        gui::SelectItemOrNone(*page_.ComboBox11, lag);
        // In this order: the reaction of CheckBox6 may replace the times just shown, and the
        // one of CheckBox5 then decides whether the lists are enabled.
        const CorrelationControls read = CorrelationFromFlags(flags);
        page_.CheckBox6->setChecked(read.useDefaultTimes);
        page_.CheckBox5->setChecked(read.enabled);
        page_.CheckBox8->setChecked(read.unique);
        page_.CheckBox9->setChecked(read.earlyDetection);
    }
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "读取检测配置"), c.LastResult,
                         c.ReplyStatus);
}

void DetectionSettingsController::SetCorrelation() {
    CorrelationControls controls;
    controls.enabled = page_.CheckBox5->isChecked();
    controls.useDefaultTimes = page_.CheckBox6->isChecked();
    controls.unique = page_.CheckBox8->isChecked();
    controls.earlyDetection = page_.CheckBox9->isChecked();
    controls.leadIndex = page_.ComboBox10->currentIndex();
    controls.lagIndex = page_.ComboBox11->currentIndex();
    const auto request = CorrelationSetRequest(controls);
    if (!request) {
        const QString label = controls.leadIndex < 0
                                  ? QCoreApplication::translate("Configuration", "超前检测时间")
                                  : QCoreApplication::translate("Configuration", "滞后检测时间");
        ctx_.prompter.Message(NoSelectionMessage(label), InputCaption(),
                              gui::Prompter::Icon::Information);
        return;
    }
    auto& c = ctx_.fields.connection;
    CorrelationRequest r = *request;
    c.LastResult = ctx_.library.TagPersonCorrelation(c.ControllerAddress, r.flags, r.lead, r.lag,
                                                     c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "设置检测配置"), c.LastResult,
                         c.ReplyStatus);
}

void DetectionSettingsController::Button3Click(QAbstractButton* sender) {
    if (sender == page_.Button3) {
        SetTagData();
    } else {
        ReadTagData();
    }
}

void DetectionSettingsController::ReadTagData() {
    auto& c = ctx_.fields.connection;
    TagDataRequest r;
    c.LastResult = ctx_.library.ReadTagDataSetting(c.ControllerAddress, r.flags, r.repeat, r.start,
                                                   r.count, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        startShown_->Show(QString::number(r.start));
        countShown_->Show(QString::number(r.count));
        page_.CheckBox10->setChecked((r.flags & tagdata::kReadBlocks) != 0);
        page_.CheckBox11->setChecked((r.flags & tagdata::kReread) != 0);
        gui::SelectItemOrNone(*page_.ComboBox12, TagDataRepeatIndex(r.repeat));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "读取配置"), c.LastResult,
                         c.ReplyStatus);
}

void DetectionSettingsController::SetTagData() {
    TagDataControls controls;
    controls.readBlocks = page_.CheckBox10->isChecked();
    controls.reread = page_.CheckBox11->isChecked();
    controls.repeatIndex = page_.ComboBox12->currentIndex();
    controls.startText = page_.Edit3->text();
    controls.countText = page_.Edit2->text();
    TagDataEntry entry = TagDataSetRequest(controls);
    const auto refuse = [this](const QString& text) {
        ctx_.prompter.Message(text, InputCaption(), gui::Prompter::Icon::Information);
    };
    switch (entry.error) {
        case TagDataEntry::Error::EmptyEntry:
            refuse(TagDataEntryMessage());
            return;
        case TagDataEntry::Error::BadCount:
            refuse(TagDataCountMessage());
            return;
        case TagDataEntry::Error::NoRepeat:
            refuse(NoSelectionMessage(QCoreApplication::translate("Configuration", "重复次数")));
            return;
        case TagDataEntry::Error::NotANumber:
            ctx_.prompter.ConversionError(entry.badText);
            return;
        case TagDataEntry::Error::None:
            break;
    }
    auto& c = ctx_.fields.connection;
    TagDataRequest& r = entry.request;
    c.LastResult = ctx_.library.ReadTagDataSetting(c.ControllerAddress, r.flags, r.repeat, r.start,
                                                   r.count, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "设置配置"), c.LastResult,
                         c.ReplyStatus);
}

}  // namespace commands
