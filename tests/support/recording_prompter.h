#pragma once

#include "gui/prompter.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace testing_support {

// A prompter for GUI tests: it records every message, beep and busy change, and answers from a
// script (OK when nothing is scripted).
class RecordingPrompter final : public gui::Prompter {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    Answer Message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override {
        messages.append(Shown{text, caption, icon, buttons});
        if (onMessage) {
            onMessage(messages.back());
        }
        if (answers.empty()) {
            return Answer::Ok;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }
    void ConversionError(const QString& text) override { conversionErrors.append(text); }
    void SetBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        busyChanges.append(busy);
    }
    std::optional<int> ChoosePort(const QList<int>& comNumbers) override {
        offeredPorts.append(comNumbers);
        if (portChoices.empty()) {
            return std::nullopt;
        }
        const auto choice = portChoices.front();
        portChoices.pop_front();
        return choice;
    }

    void Notice(const QString& text, const QString& caption, Icon icon) override {
        notices.append(Shown{text, caption, icon, Buttons::Ok});
    }
    std::optional<QString> ChooseSaveFile(const QString& caption, const QString& suggestedPath,
                                          const QString& /*filter*/) override {
        offeredSaveFiles.append({caption, suggestedPath});
        if (saveFileChoices.empty()) {
            return std::nullopt;
        }
        const auto choice = saveFileChoices.front();
        saveFileChoices.pop_front();
        return choice;
    }

    QList<Shown> messages;
    // Messages shown without waiting for them.
    QList<Shown> notices;
    // Caption and suggested path of each save dialog, and the paths chosen in turn (Cancel when
    // none is left).
    QList<std::pair<QString, QString>> offeredSaveFiles;
    std::deque<std::optional<QString>> saveFileChoices;
    // Runs while a message is up, before it is answered (the world goes on meanwhile).
    std::function<void(const Shown&)> onMessage;
    std::deque<Answer> answers;
    int beeps = 0;
    QStringList conversionErrors;
    int busyDepth = 0;
    QList<bool> busyChanges;
    QList<QList<int>> offeredPorts;
    std::deque<std::optional<int>> portChoices;
};

}  // namespace testing_support
