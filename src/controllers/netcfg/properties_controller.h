#pragma once

#include "core/netcfg/properties_values.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace forms {
class TfNhSetDlg;
class TfPhSetDlg;
class TfSetdlg;
}  // namespace forms
namespace gui {
class Prompter;
}

namespace netcfg {

class ModuleListView;
class NetcfgSession;

// The read of a module into the properties dialog (fSetdlg), its two advanced dialogs
// (fNhSetDlg, fPhSetDlg) and the write back.
class PropertiesController final : public QObject {
    Q_OBJECT
public:
    struct Windows {
        QWidget& mainWindow;
        forms::TfSetdlg& properties;
        forms::TfNhSetDlg& networkAdvanced;
        forms::TfPhSetDlg& serialAdvanced;
    };
    PropertiesController(Windows windows, NetcfgSession& session, const ModuleListView& list,
                         gui::Prompter& prompter, QObject* parent = nullptr);

    void Button22Click();  // main window: read the selected module and show the dialog
    void ComboBox2Change(int index);
    void Button1Click();  // network advanced
    void Button4Click();  // serial advanced
    void Button2Click();  // write
    void Button3Click();  // cancel
    void FormClose();

private:
    bool FillDialogs();
    void SetClientFields(bool enabled, bool changeReadOnly);
    void CopyControlsToSettings();
    // The name of the first list without a selection, or empty.
    QString FirstListWithoutSelection() const;
    void OpenAdvanced(QDialog& dialog);
    // Every way an advanced dialog closes ends here: its OK button accepts; its cancel button,
    // Escape and a close by the window manager reject.
    void CloseAdvanced(QDialog& dialog, bool accepted);
    void ShowText(QLineEdit& edit, ShownText& shown, const QByteArray& bytes);

    Windows w_;
    NetcfgSession& session_;
    const ModuleListView& list_;
    gui::Prompter& prompter_;
    QList<QLineEdit*> texts_;        // Edit1..Edit9 of the properties dialog
    QList<QComboBox*> lists_;        // ComboBox1..ComboBox7 of the properties dialog
    QList<QLineEdit*> clientEdits_;  // Edit6..Edit9
    QPushButton* networkButton_;
    QComboBox* connectMode_;
    QComboBox* connectTimeLimit_;
    QLineEdit* maxPackets_;
    QLineEdit* maxCharDelay_;
    QComboBox* onTheFly_;
    // What an advanced dialog showed when it was opened, restored by its cancel button.
    QList<int> savedIndexes_;
    QStringList savedTexts_;
    // What the last read put into each text field (Edit1..Edit9, MaxPackets, MaxCharDelay).
    std::array<ShownText, 9> shownTexts_;
    ShownText shownMaxPackets_;
    ShownText shownMaxCharDelay_;
};

}  // namespace netcfg
