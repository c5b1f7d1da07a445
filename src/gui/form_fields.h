#pragma once

#include "gate/connection_state.h"

#include <QString>

#include <cstdint>

namespace gui {

// The fields that the main window owns for the whole run and that several subsystems share.
struct FormFields {
    gate::ConnectionState connection;
    bool CloseRequested = false;
    bool PollBusy = false;
    QString LastNoPersonText;  // marker of the last no-person line, shared by both poll modes
    std::int32_t IF2Port = -1;
    std::int32_t IF2Count = 0;
};

}  // namespace gui
