#pragma once

#include "gui/prompter.h"

namespace gui {

// Shows the busy mouse pointer for the lifetime of the guard, so that every path of a handler
// restores it; Release restores it early (before a message box, for example).
class BusyPointer {
public:
    explicit BusyPointer(Prompter& prompter) : prompter_(prompter) { prompter_.SetBusy(true); }
    ~BusyPointer() { Release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void Release() {
        if (busy_) {
            prompter_.SetBusy(false);
            busy_ = false;
        }
    }

private:
    Prompter& prompter_;
    bool busy_ = true;
};

}  // namespace gui
