#include "bridge/site_reload.h"

#include <QHash>
#include <QSet>

namespace bridge {

QList<QList<GateConfig>> GatesByLink(const QList<GateConfig>& gates) {
    QList<QList<GateConfig>> links;
    QHash<QString, qsizetype> index;
    for (const GateConfig& g : gates) {
        const auto it = index.constFind(g.LinkKey());
        if (it == index.cend()) {
            index.insert(g.LinkKey(), links.size());
            links.append(QList<GateConfig>{g});
        } else {
            links[*it].append(g);
        }
    }
    return links;
}

SiteChange CompareSites(const SiteConfig& running, const SiteConfig& next) {
    SiteChange change;
    QHash<QString, QList<GateConfig>> before;
    for (const QList<GateConfig>& link : GatesByLink(running.gates)) {
        before.insert(link.constFirst().LinkKey(), link);
    }
    QSet<QString> nextKeys;
    for (const QList<GateConfig>& link : GatesByLink(next.gates)) {
        const QString key = link.constFirst().LinkKey();
        nextKeys.insert(key);
        if (before.value(key) == link) {
            change.keptLinks.append(key);
            continue;
        }
        if (before.contains(key)) {
            change.stoppedLinks.append(key);
        }
        change.startedLinks.append(link);
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!nextKeys.contains(it.key())) {
            change.stoppedLinks.append(it.key());
        }
    }
    QHash<QString, GateConfig> old;
    for (const GateConfig& g : running.gates) {
        old.insert(g.name, g);
    }
    QSet<QString> names;
    for (const GateConfig& g : next.gates) {
        names.insert(g.name);
        if (!old.contains(g.name)) {
            change.addedGates.append(g.name);
        } else if (!(old.value(g.name) == g)) {
            change.changedGates.append(g.name);
        }
    }
    for (const GateConfig& g : running.gates) {
        if (!names.contains(g.name)) {
            change.removedGates.append(g.name);
        }
    }
    if (running.siteName != next.siteName || running.stateDir != next.stateDir) {
        change.needRestart.append(QStringLiteral("[site]"));
    }
    if (running.mqttHost != next.mqttHost || running.mqttPort != next.mqttPort ||
        running.base != next.base || running.clientId != next.clientId ||
        running.username != next.username || running.password != next.password ||
        running.caFile != next.caFile || running.keepaliveS != next.keepaliveS) {
        change.needRestart.append(QStringLiteral("[mqtt]"));
    }
    if (running.spoolMaxMb != next.spoolMaxMb) {
        change.needRestart.append(QStringLiteral("[spool]"));
    }
    return change;
}

QString SiteChange::Summary() const {
    const auto names = [](const QStringList& list) {
        return list.isEmpty() ? QStringLiteral("none") : list.join(QStringLiteral(", "));
    };
    QString text = QStringLiteral(
                       "reload: gates added: %1; removed: %2; changed: %3; %4 link(s) "
                       "kept polling")
                       .arg(names(addedGates), names(removedGates), names(changedGates))
                       .arg(keptLinks.size());
    if (!needRestart.isEmpty()) {
        text += QStringLiteral("; %1 changed: that takes effect at the next restart")
                    .arg(needRestart.join(QStringLiteral(", ")));
    }
    return text;
}

}  // namespace bridge
