#include "forms/secondary_windows.h"

#include <QHeaderView>

#include "ui_change_ip_dlg.h"
#include "ui_fnhsetdlg.h"
#include "ui_form3.h"
#include "ui_fphsetdlg.h"
#include "ui_fsetdlg.h"
#include "ui_locate_form.h"

namespace forms {

namespace {
// Title bar with the system menu (close box) and, where asked, the minimise box.
constexpr Qt::WindowFlags kSystemMenuOnly = Qt::Dialog | Qt::CustomizeWindowHint |
                                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                            Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags kSystemMenuAndMinimise = kSystemMenuOnly | Qt::WindowMinimizeButtonHint;
constexpr Qt::WindowFlags kNoTitleButtons =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TForm3>()) {
    ui_->setupUi(this);
    ui_->ListView1->verticalHeader()->hide();
    ui_->ListView1->setColumnWidth(1, 200);
    ui_->ListView1->horizontalHeader()->setStretchLastSection(true);
}
TForm3::~TForm3() = default;

TfSetdlg::TfSetdlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfSetdlg>()) {
    ui_->setupUi(this);
    setWindowFlags(kSystemMenuOnly);
    // The MAC address is shown, never edited.
    QPalette grey = ui_->Edit3->palette();
    grey.setColor(QPalette::Base, palette().color(QPalette::Window));
    ui_->Edit3->setPalette(grey);
}
TfSetdlg::~TfSetdlg() = default;

TChangeIPdlg::TChangeIPdlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TChangeIPdlg>()) {
    ui_->setupUi(this);
    setWindowFlags(kSystemMenuAndMinimise);
    ui_->MaskEdit1->setText(QStringLiteral("   .   .   .   "));
}
TChangeIPdlg::~TChangeIPdlg() = default;

TlocateForm::TlocateForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TlocateForm>()) {
    ui_->setupUi(this);
    setWindowFlags(kSystemMenuAndMinimise);
    ui_->MaskEdit1->setText(QStringLiteral("   .   .   .   "));
}
TlocateForm::~TlocateForm() = default;

TfNhSetDlg::TfNhSetDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfNhSetDlg>()) {
    ui_->setupUi(this);
    setWindowFlags(kNoTitleButtons);
    // "连接时限": the 100 items "0" to "99", so that the index equals the number.
    for (int i = 0; i < 100; ++i) {
        ui_->ComboBox2->addItem(QString::number(i));
    }
}
TfNhSetDlg::~TfNhSetDlg() = default;

TfPhSetDlg::TfPhSetDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfPhSetDlg>()) {
    ui_->setupUi(this);
    setWindowFlags(kNoTitleButtons);
}
TfPhSetDlg::~TfPhSetDlg() = default;

}  // namespace forms
