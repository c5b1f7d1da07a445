#include "controllers/netcfg/properties_controller.h"

#include <QCoreApplication>

#include "controllers/netcfg/module_list_view.h"
#include "controllers/netcfg/netcfg_messages.h"
#include "core/netcfg/netcfg_session.h"
#include "core/netcfg/properties_values.h"
#include "forms/secondary_windows.h"
#include "ui_fnhsetdlg.h"
#include "ui_fphsetdlg.h"
#include "ui_fsetdlg.h"
#include "util/gbk_codec.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace netcfg {
namespace {

using S = ModuleSettings;

// Edit1..Edit9 of the properties dialog and their fields.
constexpr std::array<QByteArray S::*, 9> kTextFields{&S::UserName, &S::DeviceName, &S::Mac,
                                                     &S::Ip,       &S::SourcePort, &S::DestIp,
                                                     &S::DestPort, &S::GatewayIp,  &S::NetMask};

// ComboBox1..ComboBox7 of the properties dialog, their fields and the names of their settings.
constexpr std::array<QByteArray S::*, 7> kListFields{
    &S::Protocol, &S::WorkMode, &S::BaudRate, &S::Parity, &S::DataBits, &S::DtrMode, &S::RtsMode};
const std::array<const char*, 7> kListNames{QT_TRANSLATE_NOOP("ModuleSettings", "传输协议"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "工作模式"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "波特率"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "校验"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "比特位"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "DTR 设置"),
                                            QT_TRANSLATE_NOOP("ModuleSettings", "RTS 设置")};

}  // namespace

PropertiesController::PropertiesController(Windows windows, NetcfgSession& session,
                                           const ModuleListView& list, gui::Prompter& prompter,
                                           QObject* parent)
    : QObject(parent), w_(windows), session_(session), list_(list), prompter_(prompter) {
    const Ui::TfSetdlg& p = w_.properties.ui();
    texts_ = {p.Edit1, p.Edit2, p.Edit3, p.Edit4, p.Edit5, p.Edit6, p.Edit7, p.Edit8, p.Edit9};
    lists_ = {p.ComboBox1, p.ComboBox2, p.ComboBox3, p.ComboBox4,
              p.ComboBox5, p.ComboBox6, p.ComboBox7};
    clientEdits_ = texts_.mid(5, 4);
    networkButton_ = p.Button1;
    connectMode_ = w_.networkAdvanced.ui().ComboBox1;
    connectTimeLimit_ = w_.networkAdvanced.ui().ComboBox2;
    maxPackets_ = w_.serialAdvanced.ui().Edit1;
    maxCharDelay_ = w_.serialAdvanced.ui().Edit2;
    onTheFly_ = w_.serialAdvanced.ui().ComboBox1;

    // FormCreate of the network advanced dialog: "0" to "99", so the index equals the number.
    if (connectTimeLimit_->count() == 0) {
        for (int i = 0; i < 100; ++i) {
            connectTimeLimit_->addItem(QString::number(i));
        }
    }
    texts_[2]->setReadOnly(true);

    // activated: only a change by the operator reacts, never the fill.
    connect(lists_[1], &QComboBox::activated, this, &PropertiesController::ComboBox2Change);
    connect(networkButton_, &QPushButton::clicked, this, &PropertiesController::Button1Click);
    connect(p.Button4, &QPushButton::clicked, this, &PropertiesController::Button4Click);
    connect(p.Button2, &QPushButton::clicked, this, &PropertiesController::Button2Click);
    connect(p.Button3, &QPushButton::clicked, this, &PropertiesController::Button3Click);
    connect(&w_.properties, &QDialog::finished, this, &PropertiesController::FormClose);
    const std::array<std::pair<QDialog*, std::pair<QPushButton*, QPushButton*>>, 2> advanced{
        {{&w_.networkAdvanced, {w_.networkAdvanced.ui().Button1, w_.networkAdvanced.ui().Button2}},
         {&w_.serialAdvanced, {w_.serialAdvanced.ui().Button1, w_.serialAdvanced.ui().Button2}}}};
    for (const auto& [dialog, buttons] : advanced) {
        connect(buttons.first, &QPushButton::clicked, dialog, &QDialog::accept);
        connect(buttons.second, &QPushButton::clicked, dialog, &QDialog::reject);
        connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
            CloseAdvanced(*dialog, result == QDialog::Accepted);
        });
    }
}

void PropertiesController::Button22Click() {
    const std::optional<ModuleRow> row = list_.SelectedModule(prompter_);
    if (!row) {
        return;
    }
    ModuleSettings& settings = session_.Settings();
    settings.Ip = row->ip.toLatin1();
    settings.Mac = row->mac;
    if (!session_.OpenConfigEndpoint()) {
        ReportPortConflict(prompter_);
    }
    session_.ConfigEndpoint().SetDestination(row->ip, session_.Target().port);
    const ExchangeResult result =
        RunReadExchange(session_.ConfigEndpoint(), session_.Reply(), settings, session_.Timing());
    if (result.abandoned) {
        return;  // the application is quitting: no check, no dialog
    }
    if (!result.sent) {
        ReportSendFailure(prompter_, result.error);
        return;
    }
    if (!IsReadComplete(settings)) {
        Warn(prompter_, CheckConnectionText());
        return;
    }
    if (!FillDialogs()) {
        return;
    }
    w_.mainWindow.setEnabled(false);
    w_.properties.show();
}

bool PropertiesController::FillDialogs() {
    const ModuleSettings& settings = session_.Settings();
    for (qsizetype i = 0; i < texts_.size(); ++i) {
        ShowText(*texts_[i], shownTexts_[static_cast<std::size_t>(i)], settings.*kTextFields[i]);
    }
    // A list takes its field as an index; a field that is no integer stops the fill.
    auto setIndex = [this](QComboBox* box, const QByteArray& field) {
        const std::optional<int> index = ListIndexOf(field);
        if (!index) {
            prompter_.ConversionError(util::FromGbk(field));
            return false;
        }
        box->setCurrentIndex(*index);
        return true;
    };
    for (qsizetype i = 0; i < lists_.size(); ++i) {
        if (!setIndex(lists_[i], settings.*kListFields[i])) {
            return false;
        }
    }
    SetClientFields(lists_[1]->currentIndex() != 0, false);
    if (!setIndex(connectMode_, settings.ConnectMode) ||
        !setIndex(connectTimeLimit_, settings.ConnectTimeLimit)) {
        return false;
    }
    ShowText(*maxPackets_, shownMaxPackets_, settings.MaxPackets);
    ShowText(*maxCharDelay_, shownMaxCharDelay_, settings.MaxCharDelay);
    return setIndex(onTheFly_, settings.OnTheFly);
}

void PropertiesController::ShowText(QLineEdit& edit, ShownText& shown, const QByteArray& bytes) {
    shown = ShowBytes(bytes);
    edit.setText(shown.text);
}

void PropertiesController::SetClientFields(bool enabled, bool changeReadOnly) {
    for (QLineEdit* edit : clientEdits_) {
        edit->setEnabled(enabled);
        if (changeReadOnly) {
            edit->setReadOnly(!enabled);
        }
    }
    networkButton_->setEnabled(enabled);
}

void PropertiesController::ComboBox2Change(int index) {
    SetClientFields(index != 0, true);
}

void PropertiesController::Button1Click() {
    OpenAdvanced(w_.networkAdvanced);
}

void PropertiesController::Button4Click() {
    OpenAdvanced(w_.serialAdvanced);
}

void PropertiesController::OpenAdvanced(QDialog& dialog) {
    savedIndexes_ = {connectMode_->currentIndex(), connectTimeLimit_->currentIndex(),
                     onTheFly_->currentIndex()};
    savedTexts_ = {maxPackets_->text(), maxCharDelay_->text()};
    w_.properties.setEnabled(false);
    dialog.show();
}

void PropertiesController::CloseAdvanced(QDialog& dialog, bool accepted) {
    ModuleSettings& settings = session_.Settings();
    if (accepted && &dialog == &w_.networkAdvanced) {
        settings.ConnectMode = IndexText(connectMode_->currentIndex());
        settings.ConnectTimeLimit = IndexText(connectTimeLimit_->currentIndex());
    } else if (accepted) {
        settings.MaxPackets = BytesToWrite(shownMaxPackets_, maxPackets_->text());
        settings.MaxCharDelay = BytesToWrite(shownMaxCharDelay_, maxCharDelay_->text());
        settings.OnTheFly = IndexText(onTheFly_->currentIndex());
    } else if (savedIndexes_.size() == 3) {
        // Cancel: back to what the dialog showed when it was opened, so nothing edited here
        // reaches the module through the next write.
        connectMode_->setCurrentIndex(savedIndexes_[0]);
        connectTimeLimit_->setCurrentIndex(savedIndexes_[1]);
        onTheFly_->setCurrentIndex(savedIndexes_[2]);
        maxPackets_->setText(savedTexts_[0]);
        maxCharDelay_->setText(savedTexts_[1]);
    }
    w_.properties.setEnabled(true);
}

void PropertiesController::CopyControlsToSettings() {
    ModuleSettings& settings = session_.Settings();
    for (qsizetype i = 0; i < texts_.size(); ++i) {
        settings.*kTextFields[i] =
            BytesToWrite(shownTexts_[static_cast<std::size_t>(i)], texts_[i]->text());
    }
    for (qsizetype i = 0; i < lists_.size(); ++i) {
        settings.*kListFields[i] = IndexText(lists_[i]->currentIndex());
    }
    settings.ConnectMode = IndexText(connectMode_->currentIndex());
    settings.ConnectTimeLimit = IndexText(connectTimeLimit_->currentIndex());
    settings.MaxPackets = BytesToWrite(shownMaxPackets_, maxPackets_->text());
    settings.MaxCharDelay = BytesToWrite(shownMaxCharDelay_, maxCharDelay_->text());
    settings.OnTheFly = IndexText(onTheFly_->currentIndex());
}

QString PropertiesController::FirstListWithoutSelection() const {
    for (qsizetype i = 0; i < lists_.size(); ++i) {
        if (lists_[i]->currentIndex() < 0) {
            return QCoreApplication::translate("ModuleSettings", kListNames[i]);
        }
    }
    if (connectMode_->currentIndex() < 0) {
        return QCoreApplication::translate("ModuleSettings", "连接方式");
    }
    if (connectTimeLimit_->currentIndex() < 0) {
        return QCoreApplication::translate("ModuleSettings", "连接时限");
    }
    if (onTheFly_->currentIndex() < 0) {
        return QCoreApplication::translate("ModuleSettings", "On - the - Fly 功能");
    }
    return {};
}

void PropertiesController::Button2Click() {
    CopyControlsToSettings();
    const std::optional<ModuleRow> row = list_.SelectedModule(prompter_);
    if (!row) {
        return;
    }
    // A list without a selection would go out as "-1": refuse the write instead.
    if (const QString missing = FirstListWithoutSelection(); !missing.isEmpty()) {
        Warn(prompter_, NoSelectionText(missing));
        return;
    }
    if (!session_.OpenConfigEndpoint()) {
        ReportPortConflict(prompter_);
    }
    const ExchangeResult result =
        RunBursts(session_.ConfigEndpoint(), WriteExchangePlan(session_.Settings(), row->ip),
                  session_.Target());
    if (!result.sent) {
        ReportSendFailure(prompter_, result.error);
        return;
    }
    session_.ClearRows();
    w_.properties.close();
}

void PropertiesController::Button3Click() {
    w_.properties.close();
}

void PropertiesController::FormClose() {
    // An advanced dialog left open behind a closed properties dialog ends as its cancel does.
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{&w_.networkAdvanced, &w_.serialAdvanced}) {
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }
    w_.mainWindow.setEnabled(true);
}

}  // namespace netcfg
