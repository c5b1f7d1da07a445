#include "core/commands/settings_backup.h"

#include <QRegularExpression>

namespace commands {

namespace {

// "settings.alarms.eas.pattern_3: ..." -> "alarms"; empty for a path outside the settings.
QString GroupOfError(const QString& error) {
    static const QString kPrefix = QStringLiteral("settings.");
    if (!error.startsWith(kPrefix)) {
        return {};
    }
    const qsizetype end = error.indexOf(QRegularExpression(QStringLiteral("[.:]")), kPrefix.size());
    return end < 0 ? QString() : error.mid(kPrefix.size(), end - kPrefix.size());
}

// Empties one group by its name; false for a name that is no group.
bool DropGroup(ControllerSettings& s, const QString& name) {
    if (name == group::kConfiguration) {
        s.configuration.reset();
    } else if (name == group::kCorrelation) {
        s.correlation.reset();
    } else if (name == group::kTagData) {
        s.tagData.reset();
    } else if (name == group::kInfraredDirection) {
        s.infraredReverse.reset();
    } else if (name == group::kReaderLossAlarm) {
        s.readerLossAlarm.reset();
    } else if (name == group::kRecordWriting) {
        s.recordWriting.reset();
    } else if (name == group::kAlarms) {
        s.alarms.reset();
    } else if (name == group::kOperatingMode) {
        s.easMode.reset();
    } else if (name == group::kAddress) {
        s.address.reset();
    } else {
        return false;
    }
    return true;
}

// More than the number of groups: each round drops one.
constexpr int kMaxRounds = 16;

}  // namespace

QList<RefusedGroup> KeepReadableGroups(SettingsDocument& document, bool* whole) {
    QList<RefusedGroup> refused;
    *whole = false;
    for (int round = 0; round < kMaxRounds; ++round) {
        QString error;
        if (ReadSettingsDocument(WriteSettingsDocument(document), &error)) {
            *whole = true;
            return refused;
        }
        const QString name = GroupOfError(error);
        if (name.isEmpty() || !DropGroup(document.settings, name)) {
            return refused;
        }
        document.notRead.insert(name,
                                QStringLiteral("reported a value the reader refuses: ") + error);
        refused.append({name, error});
    }
    return refused;
}

}  // namespace commands
