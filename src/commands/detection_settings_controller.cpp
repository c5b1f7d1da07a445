#include "commands/detection_settings_controller.h"

#include <QCoreApplication>

#include "app/form_fields.h"
#include "app/prompter.h"
#include "app/read_back_field.h"
#include "app/result_reporter.h"
#include "commands/config_values.h"
#include "commands/form_controls.h"
#include "gate/gate_library.h"

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

DetectionSettingsController::DetectionSettingsController(app::ConsoleContext& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      setCorrelation_(FindControl<QAbstractButton>(ctx.form, "Button1")),
      enabled_(FindControl<QCheckBox>(ctx.form, "CheckBox5")),
      useDefault_(FindControl<QCheckBox>(ctx.form, "CheckBox6")),
      unique_(FindControl<QCheckBox>(ctx.form, "CheckBox8")),
      early_(FindControl<QCheckBox>(ctx.form, "CheckBox9")),
      lead_(FindControl<QComboBox>(ctx.form, "ComboBox10")),
      lag_(FindControl<QComboBox>(ctx.form, "ComboBox11")),
      setTagData_(FindControl<QAbstractButton>(ctx.form, "Button3")),
      readBlocks_(FindControl<QCheckBox>(ctx.form, "CheckBox10")),
      reread_(FindControl<QCheckBox>(ctx.form, "CheckBox11")),
      repeat_(FindControl<QComboBox>(ctx.form, "ComboBox12")),
      startBlock_(FindControl<QLineEdit>(ctx.form, "Edit3")),
      blockCount_(FindControl<QLineEdit>(ctx.form, "Edit2")),
      startShown_(new app::ReadBackField(*startBlock_)),
      countShown_(new app::ReadBackField(*blockCount_)) {
    for (const char* name : {"Button1", "Button2"}) {
        auto* b = FindControl<QAbstractButton>(ctx.form, name);
        connect(b, &QAbstractButton::clicked, this, [this, b] { Button1Click(b); });
    }
    for (const char* name : {"Button3", "Button4"}) {
        auto* b = FindControl<QAbstractButton>(ctx.form, name);
        connect(b, &QAbstractButton::clicked, this, [this, b] { Button3Click(b); });
    }
    // toggled, not clicked: a state set by a read runs the reaction just as a click does, and
    // setting the state a box already has runs nothing.
    connect(enabled_, &QCheckBox::toggled, this, &DetectionSettingsController::CheckBox5Click);
    connect(useDefault_, &QCheckBox::toggled, this, &DetectionSettingsController::CheckBox6Click);
    CheckBox5Click();  // the dependent controls follow CheckBox5 from the start
}

void DetectionSettingsController::CheckBox5Click() {
    const bool on = enabled_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{useDefault_, unique_, early_, lead_, lag_}) {
        w->setEnabled(on);
    }
}

void DetectionSettingsController::CheckBox6Click() {
    if (useDefault_->isChecked()) {
        lead_->setEnabled(false);
        SelectItemOrNone(*lead_, kDefaultLeadIndex);
        lag_->setEnabled(false);
        SelectItemOrNone(*lag_, kDefaultLagIndex);
    } else {
        lead_->setEnabled(true);
        lag_->setEnabled(true);
    }
}

void DetectionSettingsController::Button1Click(QAbstractButton* sender) {
    if (sender == setCorrelation_) {
        setCorrelation();
    } else {
        readCorrelation();
    }
}

void DetectionSettingsController::readCorrelation() {
    auto& c = ctx_.fields.connection;
    gate::Byte flags = 0;
    gate::Byte lead = 0;
    gate::Byte lag = 0;
    c.LastResult = ctx_.library.TagPersonCorrelation(c.ControllerAddress, flags, lead, lag,
                                                     c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        SelectItemOrNone(*lead_, lead);
        SelectItemOrNone(*lag_, lag);
        // In this order: the reaction of CheckBox6 may replace the times just shown, and the
        // one of CheckBox5 then decides whether the lists are enabled.
        const CorrelationControls read = CorrelationFromFlags(flags);
        useDefault_->setChecked(read.useDefaultTimes);
        enabled_->setChecked(read.enabled);
        unique_->setChecked(read.unique);
        early_->setChecked(read.earlyDetection);
    }
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "读取检测配置"), c.LastResult,
                         c.ReplyStatus);
}

void DetectionSettingsController::setCorrelation() {
    CorrelationControls controls;
    controls.enabled = enabled_->isChecked();
    controls.useDefaultTimes = useDefault_->isChecked();
    controls.unique = unique_->isChecked();
    controls.earlyDetection = early_->isChecked();
    controls.leadIndex = lead_->currentIndex();
    controls.lagIndex = lag_->currentIndex();
    const auto request = CorrelationSetRequest(controls);
    if (!request) {
        const QString label = controls.leadIndex < 0
                                  ? QCoreApplication::translate("Configuration", "超前检测时间")
                                  : QCoreApplication::translate("Configuration", "滞后检测时间");
        ctx_.prompter.Message(NoSelectionMessage(label), InputCaption(),
                              app::Prompter::Icon::Information);
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
    if (sender == setTagData_) {
        setTagData();
    } else {
        readTagData();
    }
}

void DetectionSettingsController::readTagData() {
    auto& c = ctx_.fields.connection;
    TagDataRequest r;
    c.LastResult = ctx_.library.ReadTagDataSetting(c.ControllerAddress, r.flags, r.repeat, r.start,
                                                   r.count, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        startShown_->Show(QString::number(r.start));
        countShown_->Show(QString::number(r.count));
        readBlocks_->setChecked((r.flags & tagdata::kReadBlocks) != 0);
        reread_->setChecked((r.flags & tagdata::kReread) != 0);
        SelectItemOrNone(*repeat_, TagDataRepeatIndex(r.repeat));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "读取配置"), c.LastResult,
                         c.ReplyStatus);
}

void DetectionSettingsController::setTagData() {
    TagDataControls controls;
    controls.readBlocks = readBlocks_->isChecked();
    controls.reread = reread_->isChecked();
    controls.repeatIndex = repeat_->currentIndex();
    controls.startText = startBlock_->text();
    controls.countText = blockCount_->text();
    TagDataEntry entry = TagDataSetRequest(controls);
    const auto refuse = [this](const QString& text) {
        ctx_.prompter.Message(text, InputCaption(), app::Prompter::Icon::Information);
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
