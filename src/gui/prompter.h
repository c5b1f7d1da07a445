#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace gui {

// Everything modal or audible that the console does goes through one Prompter, so that GUI tests
// script the answers and see every message with its caption and icon.
class Prompter {
public:
    // None: a plain message box, no icon.
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    virtual ~Prompter() = default;

    // A modal message box; returns the button the operator pressed.
    virtual Answer Message(const QString& text, const QString& caption, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;

    // The default system beep of a refused key.
    virtual void Beep() = 0;

    // The platform's standard message for text that is not a number, e.g. "'12x' is not a valid
    // integer value".
    virtual void ConversionError(const QString& text) = 0;

    // The busy mouse pointer, shown while a connection opens.
    virtual void SetBusy(bool busy) = 0;

    // The modal serial-port chooser "Select Port": a list of "COM<n>" items, the first selected.
    // Returns the chosen COM number, or nothing on Cancel.
    virtual std::optional<int> ChoosePort(const QList<int>& comNumbers) = 0;

    // A message that must not hold anything up (polling goes on behind it): shown, not waited
    // for.
    virtual void Notice(const QString& text, const QString& caption, Icon icon) = 0;

    // The modal save-file chooser, opened on suggestedPath; the chosen path, or nothing on
    // Cancel.
    virtual std::optional<QString> ChooseSaveFile(const QString& caption,
                                                  const QString& suggestedPath,
                                                  const QString& filter) = 0;

    // Any other error the operator must see (file errors of the export, for example).
    void Error(const QString& text, const QString& caption) {
        Message(text, caption, Icon::Critical, Buttons::Ok);
    }
};

// Text of the standard conversion-error message for a text that is not an integer.
QString ConversionErrorText(const QString& text);

}  // namespace gui
