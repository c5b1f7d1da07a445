#include "core/commands/settings_diff.h"

#include "core/commands/settings_document.h"

#include <QJsonObject>
#include <QMap>

namespace commands {

namespace {

const QString kNotRead = QStringLiteral("(not read)");

QString ValueText(const QJsonValue& v) {
    if (v.isBool()) {
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    if (v.isDouble()) {
        return QString::number(v.toInteger());
    }
    return v.toString();
}

// The leaves of a settings object by their dotted paths (sorted by path).
void Flatten(const QJsonObject& o, const QString& prefix, QMap<QString, QString>& out) {
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        const QString path = prefix.isEmpty() ? it.key() : prefix % u'.' % it.key();
        if (it->isObject()) {
            Flatten(it->toObject(), path, out);
        } else {
            out.insert(path, ValueText(*it));
        }
    }
}

}  // namespace

QList<SettingChange> DiffSettings(const ControllerSettings& current,
                                  const ControllerSettings& wanted) {
    const QJsonObject have = SettingsToJson(current);
    const QJsonObject want = SettingsToJson(wanted);
    QList<SettingChange> changes;
    for (auto group = want.constBegin(); group != want.constEnd(); ++group) {
        if (!have.contains(group.key())) {
            changes.append({group.key(), kNotRead, QStringLiteral("(document)")});
            continue;
        }
        QMap<QString, QString> from;
        QMap<QString, QString> to;
        Flatten(QJsonObject{{group.key(), have.value(group.key())}}, {}, from);
        Flatten(QJsonObject{{group.key(), *group}}, {}, to);
        for (auto it = to.constBegin(); it != to.constEnd(); ++it) {
            const QString old = from.value(it.key(), kNotRead);
            if (old != it.value()) {
                changes.append({it.key(), old, it.value()});
            }
        }
    }
    return changes;
}

QString ChangeLine(const SettingChange& change) {
    return change.path % QStringLiteral(": ") % change.from % QStringLiteral(" -> ") % change.to;
}

}  // namespace commands
