#include "core/commands/settings_document.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace commands {

namespace {

// Field names of the configuration block in wire order; the last two are words, not numbers.
const std::array<QString, kConfigFieldCount> kConfigNames{
    QStringLiteral("reader_inventory"), QStringLiteral("close_reader_time"),
    QStringLiteral("stat_time"),        QStringLiteral("tag_over_time"),
    QStringLiteral("tag_quiet_time"),   QStringLiteral("block_max_stay_time"),
    QStringLiteral("full_policy"),      QStringLiteral("green_light")};
constexpr int kFullPolicy = static_cast<int>(ConfigField::BackRecordConfig);
constexpr int kGreenLight = static_cast<int>(ConfigField::GreenLight);

const std::array<QString, kAlarmCount> kAlarmNames{
    QStringLiteral("no_tag"), QStringLiteral("reverse"), QStringLiteral("undetermined"),
    QStringLiteral("infrared"), QStringLiteral("eas")};
const std::array<QString, kAlarmPatternLength> kPatternNames{
    QStringLiteral("buzzer_on"), QStringLiteral("buzzer_off"), QStringLiteral("beeps"),
    QStringLiteral("led_on"),    QStringLiteral("led_off"),    QStringLiteral("flashes"),
    QStringLiteral("relay_on"),  QStringLiteral("relay_off"),  QStringLiteral("relay_actions")};

// Ranges a document may hold: what the console's lists and the controller accept.
constexpr int kLeadMax = 100;
constexpr int kRepeatMax = kTagDataRepeatMax;

QString AddressText2(gate::Byte address) {
    return QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

QJsonObject ConfigurationJson(const ConfigurationBlock& block) {
    QJsonObject o;
    for (int i = 0; i < kConfigFieldCount; ++i) {
        const gate::Byte v = block[static_cast<std::size_t>(i)];
        if (i == kFullPolicy) {
            o.insert(kConfigNames[static_cast<std::size_t>(i)],
                     v != 0 ? QStringLiteral("overwrite") : QStringLiteral("stop"));
        } else if (i == kGreenLight) {
            o.insert(kConfigNames[static_cast<std::size_t>(i)], v != 0);
        } else {
            o.insert(kConfigNames[static_cast<std::size_t>(i)], v);
        }
    }
    return o;
}

QJsonObject AlarmsJson(const AlarmSettings& alarms) {
    QJsonObject o;
    for (int a = 0; a < kAlarmCount; ++a) {
        QJsonObject one{{QStringLiteral("enabled"), alarms.enabled[static_cast<std::size_t>(a)]}};
        for (int i = 0; i < kAlarmPatternLength; ++i) {
            one.insert(kPatternNames[static_cast<std::size_t>(i)],
                       alarms.patterns[static_cast<std::size_t>(a * kAlarmPatternLength + i)]);
        }
        o.insert(kAlarmNames[static_cast<std::size_t>(a)], one);
    }
    return o;
}

// Reads typed fields out of JSON objects and remembers the first problem with its path.
class FieldReader {
public:
    bool Failed() const { return !error_.isEmpty(); }
    const QString& Error() const { return error_; }

    void Fail(const QString& path, const QString& problem) {
        if (error_.isEmpty()) {
            error_ = path % QStringLiteral(": ") % problem;
        }
    }

    std::optional<QJsonValue> Field(const QJsonObject& o, const QString& path, const QString& key) {
        const auto it = o.constFind(key);
        if (it == o.constEnd()) {
            Fail(Join(path, key), QStringLiteral("missing"));
            return std::nullopt;
        }
        return *it;
    }

    std::optional<int> Int(const QJsonObject& o, const QString& path, const QString& key, int min,
                           int max) {
        const auto v = Field(o, path, key);
        if (!v) {
            return std::nullopt;
        }
        const double d = v->toDouble(std::nan(""));
        if (!v->isDouble() || std::floor(d) != d) {
            Fail(Join(path, key), QStringLiteral("expected a whole number"));
            return std::nullopt;
        }
        if (d < min || d > max) {
            Fail(Join(path, key),
                 QStringLiteral("%1 is out of range %2 to %3").arg(d).arg(min).arg(max));
            return std::nullopt;
        }
        return static_cast<int>(d);
    }

    std::optional<gate::Byte> Byte(const QJsonObject& o, const QString& path, const QString& key,
                                   int min, int max) {
        const auto v = Int(o, path, key, min, max);
        return v ? std::optional<gate::Byte>(static_cast<gate::Byte>(*v)) : std::nullopt;
    }

    std::optional<bool> Bool(const QJsonObject& o, const QString& path, const QString& key) {
        const auto v = Field(o, path, key);
        if (v && !v->isBool()) {
            Fail(Join(path, key), QStringLiteral("expected true or false"));
            return std::nullopt;
        }
        return v ? std::optional<bool>(v->toBool()) : std::nullopt;
    }

    std::optional<QString> String(const QJsonObject& o, const QString& path, const QString& key) {
        const auto v = Field(o, path, key);
        if (v && !v->isString()) {
            Fail(Join(path, key), QStringLiteral("expected a text"));
            return std::nullopt;
        }
        return v ? std::optional<QString>(v->toString()) : std::nullopt;
    }

    // One of two words: false for the first, true for the second.
    std::optional<bool> Choice(const QJsonObject& o, const QString& path, const QString& key,
                               const QString& first, const QString& second) {
        const auto v = String(o, path, key);
        if (!v) {
            return std::nullopt;
        }
        if (*v != first && *v != second) {
            Fail(Join(path, key), QStringLiteral("expected \"%1\" or \"%2\"").arg(first, second));
            return std::nullopt;
        }
        return *v == second;
    }

    std::optional<QJsonObject> Object(const QJsonObject& o, const QString& path,
                                      const QString& key) {
        const auto v = Field(o, path, key);
        if (v && !v->isObject()) {
            Fail(Join(path, key), QStringLiteral("expected an object"));
            return std::nullopt;
        }
        return v ? std::optional<QJsonObject>(v->toObject()) : std::nullopt;
    }

    // A field the reader does not know is refused: a misspelt name must not be skipped quietly.
    void OnlyKnown(const QJsonObject& o, const QString& path, const QStringList& known) {
        for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
            if (!known.contains(it.key())) {
                Fail(Join(path, it.key()), QStringLiteral("unknown field"));
                return;
            }
        }
    }

    static QString Join(const QString& path, const QString& key) {
        return path.isEmpty() ? key : path % u'.' % key;
    }

private:
    QString error_;
};

std::optional<ConfigurationBlock> ReadConfiguration(FieldReader& r, const QJsonObject& o,
                                                    const QString& path) {
    ConfigurationBlock block{};
    for (int i = 0; i < kConfigFieldCount; ++i) {
        const QString& name = kConfigNames[static_cast<std::size_t>(i)];
        std::optional<int> v;
        if (i == kFullPolicy) {
            const auto overwrite =
                r.Choice(o, path, name, QStringLiteral("stop"), QStringLiteral("overwrite"));
            v = overwrite ? std::optional<int>(*overwrite ? 1 : 0) : std::nullopt;
        } else if (i == kGreenLight) {
            const auto on = r.Bool(o, path, name);
            v = on ? std::optional<int>(*on ? 1 : 0) : std::nullopt;
        } else {
            const ConfigFieldInfo& info = ConfigFieldOf(i);
            v = r.Int(o, path, name, info.first, info.last);
        }
        if (!v) {
            return std::nullopt;
        }
        block[static_cast<std::size_t>(i)] = static_cast<gate::Byte>(*v);
    }
    r.OnlyKnown(o, path, QStringList(kConfigNames.begin(), kConfigNames.end()));
    return r.Failed() ? std::nullopt : std::optional(block);
}

std::optional<CorrelationSettings> ReadCorrelation(FieldReader& r, const QJsonObject& o,
                                                   const QString& path) {
    CorrelationSettings c;
    const auto enabled = r.Bool(o, path, QStringLiteral("enabled"));
    const auto defaults = r.Bool(o, path, QStringLiteral("use_default_times"));
    const auto unique = r.Bool(o, path, QStringLiteral("unique"));
    const auto early = r.Bool(o, path, QStringLiteral("early_detection"));
    const auto lead = r.Byte(o, path, QStringLiteral("lead"), 0, kLeadMax);
    const auto lag = r.Byte(o, path, QStringLiteral("lag"), 0, 255);
    r.OnlyKnown(
        o, path,
        {QStringLiteral("enabled"), QStringLiteral("use_default_times"), QStringLiteral("unique"),
         QStringLiteral("early_detection"), QStringLiteral("lead"), QStringLiteral("lag")});
    if (r.Failed()) {
        return std::nullopt;
    }
    c = {*enabled, *defaults, *unique, *early, *lead, *lag};
    return c;
}

std::optional<TagDataSettings> ReadTagData(FieldReader& r, const QJsonObject& o,
                                           const QString& path) {
    const auto read = r.Bool(o, path, QStringLiteral("read_blocks"));
    const auto reread = r.Bool(o, path, QStringLiteral("reread"));
    const auto repeat = r.Byte(o, path, QStringLiteral("repeat"), 1, kRepeatMax);
    const auto start = r.Byte(o, path, QStringLiteral("start_block"), 0, 255);
    const auto count = r.Byte(o, path, QStringLiteral("block_count"), 1, tagdata::kMaxBlocks);
    r.OnlyKnown(o, path,
                {QStringLiteral("read_blocks"), QStringLiteral("reread"), QStringLiteral("repeat"),
                 QStringLiteral("start_block"), QStringLiteral("block_count")});
    if (r.Failed()) {
        return std::nullopt;
    }
    return TagDataSettings{*read, *reread, *repeat, *start, *count};
}

std::optional<AlarmSettings> ReadAlarms(FieldReader& r, const QJsonObject& o, const QString& path) {
    AlarmSettings alarms;
    for (int a = 0; a < kAlarmCount; ++a) {
        const QString& name = kAlarmNames[static_cast<std::size_t>(a)];
        const auto one = r.Object(o, path, name);
        if (!one) {
            return std::nullopt;
        }
        const QString onePath = FieldReader::Join(path, name);
        const auto enabled = r.Bool(*one, onePath, QStringLiteral("enabled"));
        if (!enabled) {
            return std::nullopt;
        }
        alarms.enabled[static_cast<std::size_t>(a)] = *enabled;
        for (int i = 0; i < kAlarmPatternLength; ++i) {
            const auto v =
                r.Byte(*one, onePath, kPatternNames[static_cast<std::size_t>(i)], 0, 255);
            if (!v) {
                return std::nullopt;
            }
            alarms.patterns[static_cast<std::size_t>(a * kAlarmPatternLength + i)] = *v;
        }
        QStringList known(kPatternNames.begin(), kPatternNames.end());
        known << QStringLiteral("enabled");
        r.OnlyKnown(*one, onePath, known);
    }
    r.OnlyKnown(o, path, QStringList(kAlarmNames.begin(), kAlarmNames.end()));
    return r.Failed() ? std::nullopt : std::optional(alarms);
}

std::optional<gate::Byte> ReadAddress(FieldReader& r, const QJsonObject& o, const QString& path) {
    const auto text = r.String(o, path, group::kAddress);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const uint value = text->toUInt(&ok, 16);
    if (!ok || text->size() != 2 || value > 0xFE) {
        r.Fail(FieldReader::Join(path, group::kAddress),
               QStringLiteral("expected two hexadecimal digits from 00 to FE"));
        return std::nullopt;
    }
    return static_cast<gate::Byte>(value);
}

// Reads one group when the document has it; a group that is neither present nor listed as
// not read is a truncated document.
template <typename T, typename ReadFn>
void ReadGroup(FieldReader& r, const QJsonObject& settings, const QMap<QString, QString>& notRead,
               const QString& name, std::optional<T>& into, ReadFn read) {
    if (r.Failed()) {
        return;
    }
    if (!settings.contains(name)) {
        if (!notRead.contains(name)) {
            r.Fail(QStringLiteral("settings.") + name,
                   QStringLiteral("missing (and not listed under not_read)"));
        }
        return;
    }
    into = read();
}

}  // namespace

QJsonObject SettingsToJson(const ControllerSettings& s) {
    QJsonObject o;
    if (s.configuration) {
        o.insert(group::kConfiguration, ConfigurationJson(*s.configuration));
    }
    if (s.correlation) {
        const CorrelationSettings& c = *s.correlation;
        o.insert(group::kCorrelation,
                 QJsonObject{{QStringLiteral("enabled"), c.enabled},
                             {QStringLiteral("use_default_times"), c.useDefaultTimes},
                             {QStringLiteral("unique"), c.unique},
                             {QStringLiteral("early_detection"), c.earlyDetection},
                             {QStringLiteral("lead"), c.lead},
                             {QStringLiteral("lag"), c.lag}});
    }
    if (s.tagData) {
        const TagDataSettings& t = *s.tagData;
        o.insert(group::kTagData, QJsonObject{{QStringLiteral("read_blocks"), t.readBlocks},
                                              {QStringLiteral("reread"), t.reread},
                                              {QStringLiteral("repeat"), t.repeat},
                                              {QStringLiteral("start_block"), t.startBlock},
                                              {QStringLiteral("block_count"), t.blockCount}});
    }
    if (s.infraredReverse) {
        o.insert(group::kInfraredDirection,
                 *s.infraredReverse ? QStringLiteral("reverse") : QStringLiteral("forward"));
    }
    if (s.readerLossAlarm) {
        o.insert(group::kReaderLossAlarm, *s.readerLossAlarm);
    }
    if (s.recordWriting) {
        o.insert(group::kRecordWriting, *s.recordWriting);
    }
    if (s.alarms) {
        o.insert(group::kAlarms, AlarmsJson(*s.alarms));
    }
    if (s.easMode) {
        o.insert(group::kOperatingMode,
                 *s.easMode ? QStringLiteral("eas") : QStringLiteral("channel"));
    }
    if (s.address) {
        o.insert(group::kAddress, AddressText2(*s.address));
    }
    return o;
}

QByteArray WriteSettingsDocument(const SettingsDocument& d) {
    QJsonObject notRead;
    for (auto it = d.notRead.constBegin(); it != d.notRead.constEnd(); ++it) {
        notRead.insert(it.key(), it.value());
    }
    QJsonObject controller{{QStringLiteral("product"), d.controller.product},
                           {QStringLiteral("version"), d.controller.version},
                           {QStringLiteral("forced_eas"), d.controller.forcedEas}};
    if (!d.controller.serial.isEmpty()) {
        controller.insert(QStringLiteral("serial"), d.controller.serial);
    }
    const QDateTime t = d.backupTime.toOffsetFromUtc(d.backupTime.offsetFromUtc());
    const QJsonObject o{{QStringLiteral("format"), SettingsDocument::kFormatName},
                        {QStringLiteral("format_version"), d.formatVersion},
                        {QStringLiteral("backup_time"), t.toString(Qt::ISODate)},
                        {QStringLiteral("controller"), controller},
                        {QStringLiteral("settings"), SettingsToJson(d.settings)},
                        {QStringLiteral("not_read"), notRead}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<SettingsDocument> ReadSettingsDocument(QByteArrayView bytes, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not a JSON document: %1 at byte %2")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    if (!json.isObject()) {
        *error = QStringLiteral("not a settings document: expected a JSON object");
        return std::nullopt;
    }
    const QJsonObject root = json.object();
    FieldReader r;
    SettingsDocument d;
    const auto format = r.String(root, {}, QStringLiteral("format"));
    if (format && *format != SettingsDocument::kFormatName) {
        r.Fail(QStringLiteral("format"), QStringLiteral("expected \"%1\", not \"%2\"")
                                             .arg(SettingsDocument::kFormatName, *format));
    }
    if (!r.Failed()) {
        const auto version = r.Int(root, {}, QStringLiteral("format_version"), 1, 1 << 30);
        if (version && *version > SettingsDocument::kFormatVersion) {
            r.Fail(QStringLiteral("format_version"),
                   QStringLiteral("%1 is newer than this program reads (%2)")
                       .arg(*version)
                       .arg(SettingsDocument::kFormatVersion));
        }
        d.formatVersion = version.value_or(0);
    }
    if (!r.Failed()) {
        const auto time = r.String(root, {}, QStringLiteral("backup_time"));
        d.backupTime = time ? QDateTime::fromString(*time, Qt::ISODate) : QDateTime();
        if (time && !d.backupTime.isValid()) {
            r.Fail(QStringLiteral("backup_time"), QStringLiteral("expected an ISO 8601 time"));
        }
    }
    if (!r.Failed()) {
        if (const auto c = r.Object(root, {}, QStringLiteral("controller"))) {
            const QString path = QStringLiteral("controller");
            d.controller.product =
                r.String(*c, path, QStringLiteral("product")).value_or(QString());
            d.controller.version =
                r.String(*c, path, QStringLiteral("version")).value_or(QString());
            if (c->contains(QStringLiteral("serial"))) {
                d.controller.serial =
                    r.String(*c, path, QStringLiteral("serial")).value_or(QString());
            }
            d.controller.forcedEas = r.Bool(*c, path, QStringLiteral("forced_eas")).value_or(false);
            r.OnlyKnown(*c, path,
                        {QStringLiteral("product"), QStringLiteral("version"),
                         QStringLiteral("serial"), QStringLiteral("forced_eas")});
        }
    }
    if (!r.Failed()) {
        if (const auto n = r.Object(root, {}, QStringLiteral("not_read"))) {
            for (auto it = n->constBegin(); it != n->constEnd(); ++it) {
                if (!it->isString()) {
                    r.Fail(QStringLiteral("not_read.") + it.key(),
                           QStringLiteral("expected a text"));
                }
                d.notRead.insert(it.key(), it->toString());
            }
        }
    }
    const auto settings =
        r.Failed() ? std::nullopt : r.Object(root, {}, QStringLiteral("settings"));
    if (settings) {
        const QString path = QStringLiteral("settings");
        const QJsonObject& s = *settings;
        ControllerSettings& out = d.settings;
        const auto sub = [&](const QString& name) { return FieldReader::Join(path, name); };
        const auto object = [&](const QString& name) { return r.Object(s, path, name); };
        ReadGroup(r, s, d.notRead, group::kConfiguration, out.configuration, [&] {
            const auto o = object(group::kConfiguration);
            return o ? ReadConfiguration(r, *o, sub(group::kConfiguration)) : std::nullopt;
        });
        ReadGroup(r, s, d.notRead, group::kCorrelation, out.correlation, [&] {
            const auto o = object(group::kCorrelation);
            return o ? ReadCorrelation(r, *o, sub(group::kCorrelation)) : std::nullopt;
        });
        ReadGroup(r, s, d.notRead, group::kTagData, out.tagData, [&] {
            const auto o = object(group::kTagData);
            return o ? ReadTagData(r, *o, sub(group::kTagData)) : std::nullopt;
        });
        ReadGroup(r, s, d.notRead, group::kInfraredDirection, out.infraredReverse, [&] {
            return r.Choice(s, path, group::kInfraredDirection, QStringLiteral("forward"),
                            QStringLiteral("reverse"));
        });
        ReadGroup(r, s, d.notRead, group::kReaderLossAlarm, out.readerLossAlarm,
                  [&] { return r.Bool(s, path, group::kReaderLossAlarm); });
        ReadGroup(r, s, d.notRead, group::kRecordWriting, out.recordWriting,
                  [&] { return r.Bool(s, path, group::kRecordWriting); });
        ReadGroup(r, s, d.notRead, group::kAlarms, out.alarms, [&] {
            const auto o = object(group::kAlarms);
            return o ? ReadAlarms(r, *o, sub(group::kAlarms)) : std::nullopt;
        });
        ReadGroup(r, s, d.notRead, group::kOperatingMode, out.easMode, [&] {
            return r.Choice(s, path, group::kOperatingMode, QStringLiteral("channel"),
                            QStringLiteral("eas"));
        });
        ReadGroup(r, s, d.notRead, group::kAddress, out.address,
                  [&] { return ReadAddress(r, s, path); });
        if (!r.Failed()) {
            r.OnlyKnown(s, path,
                        {group::kConfiguration, group::kCorrelation, group::kTagData,
                         group::kInfraredDirection, group::kReaderLossAlarm, group::kRecordWriting,
                         group::kAlarms, group::kOperatingMode, group::kAddress});
        }
    }
    if (!r.Failed()) {
        r.OnlyKnown(root, {},
                    {QStringLiteral("format"), QStringLiteral("format_version"),
                     QStringLiteral("backup_time"), QStringLiteral("controller"),
                     QStringLiteral("settings"), QStringLiteral("not_read")});
    }
    if (r.Failed()) {
        *error = r.Error();
        return std::nullopt;
    }
    return d;
}

}  // namespace commands
