#pragma once

#include "gate/gate_library.h"

#include <QObject>
#include <QTimer>

namespace gate {
struct ConnectionState;
}  // namespace gate

namespace gui {
class GateStatusBar;
}

namespace app {

// Shows in status-bar panel 2 what the gate library says of its link: "being re-established"
// from the moment it went down by itself until a call brought it back, then "back" for a few
// seconds, then the plain link text again. Closing the link by hand ends it at once.
//
// When the library closed the link itself (another controller answered a reopened link, or a
// lost serial line cannot be proven to reach the same controller again), LinkClosed is
// emitted from the event loop, after the library call that found it has returned.
class LinkStatusWatch final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRestoredShownMs = 5000;

    LinkStatusWatch(gate::GateLibrary& library, gui::GateStatusBar& bar,
                    const gate::ConnectionState& connection, QObject* parent);
    ~LinkStatusWatch() override;

Q_SIGNALS:
    void LinkClosed(gate::LinkEvent why);

private:
    gate::GateLibrary& library_;
    gui::GateStatusBar& bar_;
    const gate::ConnectionState& connection_;
    QTimer restoredShown_;
};

}  // namespace app
