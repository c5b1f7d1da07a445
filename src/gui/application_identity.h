#pragma once

namespace gui {

// Names the application "Lintel", the title the task bar and the platform's plain message boxes
// show. It is the application name, not a display name: Qt appends a display name to every
// window title and message-box caption (" — Lintel"), and those must read exactly as the
// windows give them.
void SetApplicationIdentity();

}  // namespace gui
