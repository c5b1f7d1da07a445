#include "scenario.h"

#include "model_settings.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace sim {

namespace {

constexpr std::int64_t kMaxTimeMs = 7LL * 24 * 3600 * 1000;

bool ParseHexBody(const QStringList& words, int from, QByteArray& out) {
    QString text;
    for (int i = from; i < words.size(); ++i) {
        text += words[i];
    }
    if (text == QLatin1String("-")) {  // an empty body
        out.clear();
        return true;
    }
    if (text.size() % 2 != 0) {
        return false;
    }
    for (QChar c : text) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))) {
            return false;
        }
    }
    out = QByteArray::fromHex(text.toLatin1());
    return true;
}

}  // namespace

std::optional<Scenario> ParseScenario(const QString& text, QString* error) {
    Scenario scenario;
    const QStringList lines = text.split(QLatin1Char('\n'));
    static const QRegularExpression kSpace(QStringLiteral("\\s+"));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        const int hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            line.truncate(hash);
        }
        const QStringList words = line.split(kSpace, Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            continue;
        }
        auto fail = [&](const QString& why) -> std::optional<Scenario> {
            if (error) {
                *error = QStringLiteral("line %1: %2").arg(n + 1).arg(why);
            }
            return std::nullopt;
        };
        if (words.size() < 3 || words[0] != QLatin1String("at")) {
            return fail(QStringLiteral("expected \"at MS WHAT ...\""));
        }
        ScenarioEvent ev;
        ev.line = n + 1;
        bool ok = false;
        ev.atMs = words[1].toLongLong(&ok);
        if (!ok || ev.atMs < 0 || ev.atMs > kMaxTimeMs) {
            return fail(QStringLiteral("bad time \"%1\"").arg(words[1]));
        }
        const QString what = words[2];
        if (what == QLatin1String("record") || what == QLatin1String("channel") ||
            what == QLatin1String("eas")) {
            ev.action = what == QLatin1String("record")    ? ScenarioEvent::Action::Record
                        : what == QLatin1String("channel") ? ScenarioEvent::Action::Channel
                                                           : ScenarioEvent::Action::Eas;
            if (words.size() < 5) {
                return fail(QStringLiteral("%1 needs KIND and HEX (\"-\" for none)").arg(what));
            }
            const bool hexKind = words[3].startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
            const int kind = hexKind ? words[3].mid(2).toInt(&ok, 16) : words[3].toInt(&ok, 10);
            if (!ok || kind < 0 || kind > 255) {
                return fail(QStringLiteral("bad kind \"%1\"").arg(words[3]));
            }
            ev.kind = static_cast<Byte>(kind);
            if (!ParseHexBody(words, 4, ev.data)) {
                return fail(QStringLiteral("bad hexadecimal body"));
            }
            const int limit = ev.action == ScenarioEvent::Action::Record ? 17 : 47;
            if (ev.data.size() > limit) {
                return fail(QStringLiteral("body longer than %1 bytes").arg(limit));
            }
        } else if (what == QLatin1String("if2")) {
            ev.action = ScenarioEvent::Action::If2;
            if (words.size() < 4 || !ParseHexBody(words, 3, ev.data)) {
                return fail(QStringLiteral("if2 needs HEX bytes"));
            }
        } else if (what == QLatin1String("set")) {
            ev.action = ScenarioEvent::Action::Set;
            if (words.size() < 4 || words.size() > 5) {
                return fail(QStringLiteral("set needs NAME and VALUE"));
            }
            ev.name = words[3];
            ev.value = words.size() == 5 ? words[4] : QString();
            ControllerModel scratch;  // validates the name and value without side effects
            const QString why = ApplySetting(scratch, ev.name, ev.value);
            if (!why.isEmpty()) {
                return fail(why);
            }
        } else if (what == QLatin1String("fault")) {
            ev.action = ScenarioEvent::Action::Fault;
            if (words.size() < 4) {
                return fail(QStringLiteral("fault needs a NAME"));
            }
            QString why;
            if (!ParseFault(words[3], words.mid(4), ev.fault, ev.repeat, &why)) {
                return fail(why);
            }
        } else {
            return fail(QStringLiteral("unknown event \"%1\"").arg(what));
        }
        scenario.events.push_back(std::move(ev));
    }
    std::stable_sort(
        scenario.events.begin(), scenario.events.end(),
        [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.atMs < b.atMs; });
    return scenario;
}

std::optional<Scenario> LoadScenarioFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        }
        return std::nullopt;
    }
    QString why;
    auto scenario = ParseScenario(QString::fromUtf8(file.readAll()), &why);
    if (!scenario && error) {
        *error = QStringLiteral("%1: %2").arg(path, why);
    }
    return scenario;
}

void ApplyScenarioEvent(const ScenarioEvent& event, ControllerModel& model, FaultPlan& faults) {
    switch (event.action) {
        case ScenarioEvent::Action::Record:
            model.AppendRecord(event.kind, event.data);
            break;
        case ScenarioEvent::Action::Channel:
            model.PushChannelMessage(event.kind, event.data);
            break;
        case ScenarioEvent::Action::Eas:
            model.PushEasMessage(event.kind, event.data);
            break;
        case ScenarioEvent::Action::If2:
            model.EmitIf2(event.data);
            break;
        case ScenarioEvent::Action::Set:
            ApplySetting(model, event.name, event.value);
            break;
        case ScenarioEvent::Action::Fault:
            faults.Add(event.fault, event.repeat);
            break;
    }
}

}  // namespace sim
