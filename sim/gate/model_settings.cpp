#include "model_settings.h"

#include <functional>
#include <map>

namespace sim {

namespace {

// Decimal, or hexadecimal with 0x; a leading zero does not mean octal ("09" is nine).
bool Number(const QString& text, int low, int high, int& out) {
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const int v = hex ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok, 10);
    if (!ok || v < low || v > high) {
        return false;
    }
    out = v;
    return true;
}

// on/off, yes/no, 1/0 and the two given words.
bool Flag(const QString& text, bool& out, const char* offWord = "off", const char* onWord = "on") {
    const QString t = text.toLower();
    if (t == QLatin1String(onWord) || t == QLatin1String("1") || t == QLatin1String("yes") ||
        t == QLatin1String("on")) {
        out = true;
        return true;
    }
    if (t == QLatin1String(offWord) || t == QLatin1String("0") || t == QLatin1String("no") ||
        t == QLatin1String("off")) {
        out = false;
        return true;
    }
    return false;
}

QByteArray Hex(const QString& text, int size, bool& ok) {
    QString t = text;
    t.remove(QLatin1Char(' '));
    const QByteArray latin = t.toLatin1();
    ok = !t.isEmpty() && t.size() % 2 == 0;
    for (char c : latin) {
        ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    }
    const QByteArray bytes = QByteArray::fromHex(latin);
    if (size >= 0 && bytes.size() != size) {
        ok = false;
    }
    return bytes;
}

using Setter = std::function<QString(ControllerModel&, const QString&)>;

QString Bad(const char* what) {
    return QLatin1String(what);
}

const std::map<QString, Setter>& Setters() {
    static const std::map<QString, Setter> setters = {
        {QStringLiteral("mode"),
         [](ControllerModel& m, const QString& v) {
             bool eas = false;
             if (!Flag(v, eas, "channel", "eas")) {
                 return Bad("mode is channel or eas");
             }
             m.State().mode = eas ? Mode::Eas : Mode::Channel;
             return QString();
         }},
        {QStringLiteral("forced-eas"),
         [](ControllerModel& m, const QString& v) {
             bool on = false;
             if (!Flag(v, on)) {
                 return Bad("forced-eas is on or off");
             }
             m.State().forcedEas = on;
             return QString();
         }},
        {QStringLiteral("address"),
         [](ControllerModel& m, const QString& v) {
             int a = 0;
             if (!Number(v, 0, 254, a)) {
                 return Bad("address is 0 to 254 (0xFE)");
             }
             m.State().address = static_cast<Byte>(a);
             return QString();
         }},
        {QStringLiteral("product"),
         [](ControllerModel& m, const QString& v) {
             int p = 0;
             if (!Number(v, 0, 255, p)) {
                 return Bad("product is 0 to 255");
             }
             m.State().identity.product = static_cast<Byte>(p);
             return QString();
         }},
        {QStringLiteral("version"),
         [](ControllerModel& m, const QString& v) {
             const QStringList parts = v.split(QLatin1Char('.'));
             int major = 0;
             int minor = 0;
             if (parts.size() != 2 || !Number(parts[0], 0, 255, major) ||
                 !Number(parts[1], 0, 255, minor)) {
                 return Bad("version is MAJOR.MINOR, for example 7.02");
             }
             m.State().identity.major = static_cast<Byte>(major);
             m.State().identity.minor = static_cast<Byte>(minor);
             return QString();
         }},
        {QStringLiteral("serial"),
         [](ControllerModel& m, const QString& v) {
             bool ok = false;
             const QByteArray b = Hex(v, 4, ok);
             if (!ok) {
                 return Bad("serial is 8 hexadecimal digits");
             }
             for (int i = 0; i < 4; ++i) {
                 m.State().identity.serial[i] = static_cast<Byte>(b[i]);
             }
             return QString();
         }},
        {QStringLiteral("reader-link"),
         [](ControllerModel& m, const QString& v) {
             int x = 0;
             if (!Number(v, 0, 255, x)) {
                 return Bad("reader-link is a byte (1 connected)");
             }
             m.State().readerLink = static_cast<Byte>(x);
             return QString();
         }},
        {QStringLiteral("rf-field"),
         [](ControllerModel& m, const QString& v) {
             int x = 0;
             if (!Number(v, 0, 255, x)) {
                 return Bad("rf-field is a byte (0 off, 1 on, 2 switching on)");
             }
             m.State().rfField = static_cast<Byte>(x);
             return QString();
         }},
        {QStringLiteral("ir"),
         [](ControllerModel& m, const QString& v) {
             bool on = false;
             if (!Flag(v, on)) {
                 return Bad("ir is on or off");
             }
             m.State().irOn = on;
             return QString();
         }},
        {QStringLiteral("ir-direction"),
         [](ControllerModel& m, const QString& v) {
             bool reverse = false;
             if (!Flag(v, reverse, "forward", "reverse")) {
                 return Bad("ir-direction is forward or reverse");
             }
             m.State().live.irDirection = reverse ? 1 : 0;
             return QString();
         }},
        {QStringLiteral("reader-alarm"),
         [](ControllerModel& m, const QString& v) {
             bool on = false;
             if (!Flag(v, on)) {
                 return Bad("reader-alarm is on or off");
             }
             m.State().live.readerLossAlarm = on ? 1 : 0;
             return QString();
         }},
        {QStringLiteral("record-writing"),
         [](ControllerModel& m, const QString& v) {
             bool on = false;
             if (!Flag(v, on)) {
                 return Bad("record-writing is on or off");
             }
             m.State().live.recordWriting = on;
             return QString();
         }},
        {QStringLiteral("record-capacity"),
         [](ControllerModel& m, const QString& v) {
             int c = 0;
             if (!Number(v, 1, 1000000, c)) {
                 return Bad("record-capacity is 1 to 1000000");
             }
             m.Records().SetCapacity(c);
             return QString();
         }},
        {QStringLiteral("reported-count"),
         [](ControllerModel& m, const QString& v) {
             if (v == u"log") {
                 m.State().reportedRecordCount.reset();
                 return QString();
             }
             bool ok = false;
             const qulonglong n = v.toULongLong(&ok, 0);
             if (!ok || n > 0xFFFFFFFFull) {
                 return Bad("reported-count is 0 to 4294967295, or log");
             }
             m.State().reportedRecordCount = static_cast<std::uint32_t>(n);
             return QString();
         }},
        {QStringLiteral("full-policy"),
         [](ControllerModel& m, const QString& v) {
             bool overwrite = false;
             if (!Flag(v, overwrite, "stop", "overwrite")) {
                 return Bad("full-policy is stop or overwrite");
             }
             m.State().live.block[config::kBackRecordConfig] = overwrite ? 1 : 0;
             return QString();
         }},
        {QStringLiteral("stat-time"),
         [](ControllerModel& m, const QString& v) {
             int s = 0;
             if (!Number(v, 3, 255, s)) {
                 return Bad("stat-time is 3 to 255 seconds");
             }
             m.State().live.block[config::kStatTime] = static_cast<Byte>(s);
             return QString();
         }},
        {QStringLiteral("config"),
         [](ControllerModel& m, const QString& v) {
             bool ok = false;
             const QByteArray b = Hex(v, 8, ok);
             if (!ok) {
                 return Bad("config is 16 hexadecimal digits");
             }
             for (int i = 0; i < 8; ++i) {
                 m.State().live.block[i] = static_cast<Byte>(b[i]);
             }
             return QString();
         }},
        {QStringLiteral("alarm-mask"),
         [](ControllerModel& m, const QString& v) {
             int x = 0;
             if (!Number(v, 0, 0x1F, x)) {
                 return Bad("alarm-mask is 0 to 0x1F");
             }
             m.State().live.alarmMask = static_cast<Byte>(x);
             return QString();
         }},
        {QStringLiteral("autoload"),
         [](ControllerModel& m, const QString& v) {
             bool on = false;
             if (!Flag(v, on)) {
                 return Bad("autoload is on or off");
             }
             m.State().autoLoad = on;
             return QString();
         }},
        {QStringLiteral("clock"),
         [](ControllerModel& m, const QString& v) {
             Clock6 c{};
             bool ok = v.size() == 12;
             for (int i = 0; ok && i < 6; ++i) {
                 int x = 0;
                 ok = Number(v.mid(i * 2, 2), 0, 99, x);
                 c[i] = static_cast<Byte>(x);
             }
             if (!ok || !m.SetClock(c)) {
                 return Bad("clock is YYMMDDhhmmss");
             }
             return QString();
         }},
        {QStringLiteral("tag-memory"),
         [](ControllerModel& m, const QString& v) {
             const QStringList parts = v.split(QLatin1Char(':'));
             bool uidOk = false;
             bool dataOk = false;
             const QByteArray uid = parts.size() == 2 ? Hex(parts[0], 8, uidOk) : QByteArray();
             const QByteArray data = parts.size() == 2 ? Hex(parts[1], -1, dataOk) : QByteArray();
             if (!uidOk || !dataOk) {
                 return Bad("tag-memory is UID:DATA, both hexadecimal, UID 16 digits");
             }
             Uid8 u{};
             for (int i = 0; i < 8; ++i) {
                 u[i] = static_cast<Byte>(uid[i]);
             }
             m.SetTagMemory(u, data);
             return QString();
         }},
        {QStringLiteral("restart"),
         [](ControllerModel& m, const QString&) {
             m.Restart();
             return QString();
         }},
    };
    return setters;
}

}  // namespace

QString ApplySetting(ControllerModel& model, const QString& name, const QString& value) {
    const auto& setters = Setters();
    const auto it = setters.find(name);
    if (it == setters.end()) {
        return QStringLiteral("unknown setting \"%1\"").arg(name);
    }
    return it->second(model, value);
}

QStringList SettingNames() {
    QStringList names;
    for (const auto& [name, setter] : Setters()) {
        names << name;
    }
    return names;
}

}  // namespace sim
