#pragma once

#include "gui/prompter.h"

class QWidget;

namespace gui {

// The production prompter: real Qt dialogs, the system beep and the override cursor.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }

    Answer Message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override;
    void Beep() override;
    void ConversionError(const QString& text) override;
    void SetBusy(bool busy) override;
    std::optional<int> ChoosePort(const QList<int>& comNumbers) override;
    void Notice(const QString& text, const QString& caption, Icon icon) override;
    std::optional<QString> ChooseSaveFile(const QString& caption, const QString& suggestedPath,
                                          const QString& filter) override;

private:
    QWidget* parent_;
    int busyDepth_ = 0;
};

}  // namespace gui
