#include "app/link_status_watch.h"

#include "gate/connection_state.h"
#include "gate/gate_library.h"
#include "gui/status_bar.h"

namespace app {

LinkStatusWatch::LinkStatusWatch(gate::GateLibrary& library, gui::GateStatusBar& bar,
                                 const gate::ConnectionState& connection, QObject* parent)
    : QObject(parent), library_(library), bar_(bar), connection_(connection) {
    using gate::LinkCondition;
    restoredShown_.setSingleShot(true);
    restoredShown_.setInterval(kRestoredShownMs);
    connect(&restoredShown_, &QTimer::timeout, this,
            [this] { bar_.ShowLinkCondition(connection_.PortHandle, LinkCondition::Normal); });
    library_.SetLinkObserver([this](gate::LinkEvent event) {
        switch (event) {
            case gate::LinkEvent::Lost:
                restoredShown_.stop();
                bar_.ShowLinkCondition(connection_.PortHandle, LinkCondition::Reconnecting);
                break;
            case gate::LinkEvent::Restored:
                bar_.ShowLinkCondition(connection_.PortHandle, LinkCondition::Restored);
                restoredShown_.start();
                break;
            case gate::LinkEvent::Ended:
                restoredShown_.stop();
                bar_.ShowLinkCondition(connection_.PortHandle, LinkCondition::Normal);
                break;
            case gate::LinkEvent::OtherController:
            case gate::LinkEvent::NotReopened:
                restoredShown_.stop();
                // Closing runs library calls of its own: not from inside the call that told.
                QMetaObject::invokeMethod(
                    this, [this, event] { Q_EMIT LinkClosed(event); }, Qt::QueuedConnection);
                break;
        }
    });
}

LinkStatusWatch::~LinkStatusWatch() {
    library_.SetLinkObserver({});
}

}  // namespace app
