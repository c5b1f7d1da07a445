#pragma once

#include "core/commands/controller_settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QString>

#include <optional>

namespace commands {

// A settings backup: every setting the controller reported, the controller's identity and the
// time of the backup, in one JSON document with a format version. Settings that could not be
// read (and those the controller has no read for) are listed by group under "not_read".
struct SettingsDocument {
    static constexpr int kFormatVersion = 1;
    static inline const QString kFormatName = QStringLiteral("gate-settings");

    int formatVersion = kFormatVersion;
    QDateTime backupTime;
    ControllerIdentity controller;
    ControllerSettings settings;
    QMap<QString, QString> notRead;  // group -> why it is not in the document
};

// The document as indented UTF-8 JSON.
QByteArray WriteSettingsDocument(const SettingsDocument& document);

// Reads and checks a whole document: JSON syntax, format and version, every field's type and
// range, no unknown fields. Nothing when it fails, with the first bad field named in *error
// ("settings.configuration.stat_time: 2 is out of range 3 to 255").
std::optional<SettingsDocument> ReadSettingsDocument(QByteArrayView bytes, QString* error);

// The "settings" object of the document: groups that are present, by name.
QJsonObject SettingsToJson(const ControllerSettings& settings);

}  // namespace commands
