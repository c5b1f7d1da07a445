#pragma once

#include <QObject>

#include <functional>

#include "util/key_filter.h"

namespace gui {

class Prompter;

// The entry-field key filter (Edit_dateKeyPress, Edit14KeyPress): typed printable characters
// and Enter go through util::FilterTypedChar and a refused one is swallowed with a beep.
// Backspace, arrows, Delete, Tab and shortcuts reach the field as usual.
class DigitKeyFilter final : public QObject {
    Q_OBJECT
public:
    DigitKeyFilter(util::DigitFilter kind, Prompter& prompter, QObject* parent);

    // Runs before Enter is refused (the Enter action of a field).
    void SetEnterAction(std::function<void()> action) { enterAction_ = std::move(action); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    util::DigitFilter kind_;
    Prompter& prompter_;
    std::function<void()> enterAction_;
};

}  // namespace gui
