#include "gui/qt_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace gui {

QString ConversionErrorText(const QString& text) {
    return QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value");
}

namespace {

QMessageBox::Icon BoxIcon(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::None:
            return QMessageBox::NoIcon;
        case Prompter::Icon::Information:
            return QMessageBox::Information;
        case Prompter::Icon::Warning:
            return QMessageBox::Warning;
        case Prompter::Icon::Critical:
            return QMessageBox::Critical;
        case Prompter::Icon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Prompter::Answer QtPrompter::Message(const QString& text, const QString& caption, Icon icon,
                                     Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(BoxIcon(icon));
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // A busy pointer must not hide the answer buttons' usual pointer while a box is up.
    const bool busy = busyDepth_ > 0;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int pressed = box.exec();
    if (busy) {
        QGuiApplication::restoreOverrideCursor();
    }
    return pressed == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void QtPrompter::Beep() {
    QApplication::beep();
}

void QtPrompter::ConversionError(const QString& text) {
    Message(ConversionErrorText(text), QGuiApplication::applicationDisplayName(), Icon::Critical,
            Buttons::Ok);
}

void QtPrompter::SetBusy(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QGuiApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

std::optional<int> QtPrompter::ChoosePort(const QList<int>& comNumbers) {
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("SelectPortDialog"));
    dialog.setWindowTitle(QStringLiteral("Select Port"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Port:"), &dialog));
    auto* ports = new QComboBox(&dialog);
    for (int n : comNumbers) {
        ports->addItem(QStringLiteral("COM%1").arg(n), n);
    }
    layout->addWidget(ports);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || ports->currentIndex() < 0) {
        return std::nullopt;
    }
    return ports->currentData().toInt();
}

void QtPrompter::Notice(const QString& text, const QString& caption, Icon icon) {
    // Not exec(): the box stays up while the event loop, and with it the polling, goes on.
    auto* box = new QMessageBox(BoxIcon(icon), caption, text, QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

std::optional<QString> QtPrompter::ChooseSaveFile(const QString& caption,
                                                  const QString& suggestedPath,
                                                  const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(parent_, caption, suggestedPath, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

}  // namespace gui
