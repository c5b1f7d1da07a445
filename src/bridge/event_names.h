#pragma once

#include <QStringList>

namespace bridge {

// Every `event` name the bridge gives a live event, in both modes (docs/gate-bridge.md, Event
// names): the Home Assistant event entity's event_types and the `event` label's values.
inline const QStringList& BridgeEventNames() {
    static const QStringList names{
        QStringLiteral("passage"),         QStringLiteral("no_person"),
        QStringLiteral("statistics"),      QStringLiteral("tag_timeout"),
        QStringLiteral("passage_timeout"), QStringLiteral("infrared_alarm"),
        QStringLiteral("eas_alarm"),       QStringLiteral("unknown")};
    return names;
}

}  // namespace bridge
