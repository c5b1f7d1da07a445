#pragma once

#include "bridge/site_config.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bridge {

// What a site file read again changes for the running bridge: which links' workers keep
// running untouched, which stop, which start, and which gates went away (their retained topics
// are cleared). A link's worker is kept only when the gates on it are exactly as they were.
struct SiteChange {
    QStringList keptLinks;
    QStringList stoppedLinks;               // removed or changed
    QList<QList<GateConfig>> startedLinks;  // added or changed, gates in file order
    QStringList addedGates, removedGates, changedGates;
    // Settings a reload does not apply ([site], [mqtt], [spool]): named for the log.
    QStringList needRestart;

    QString Summary() const;
};

// The gates of a site grouped by their link, in the order of the file.
QList<QList<GateConfig>> GatesByLink(const QList<GateConfig>& gates);

SiteChange CompareSites(const SiteConfig& running, const SiteConfig& next);

}  // namespace bridge
