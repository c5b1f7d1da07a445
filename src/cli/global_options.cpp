#include "cli/global_options.h"

#include <array>

namespace cli {

namespace {

struct GlobalOption {
    const char16_t* name;
    bool takesValue;
    bool connection;
};

constexpr std::array<GlobalOption, 5> kGlobalOptions{{
    {u"tcp", true, true},
    {u"serial", true, true},
    {u"com", true, true},
    {u"address", true, true},
    {u"json", false, false},
}};

const GlobalOption* Find(const QString& name) {
    for (const GlobalOption& o : kGlobalOptions) {
        if (name == QStringView(o.name)) {
            return &o;
        }
    }
    return nullptr;
}

// "--tcp=HOST:PORT", "--tcp", "-tcp" (the subcommands take single-dash words as long options
// too): the name and, when written with "=", the value.
struct OptionWord {
    QString name;
    std::optional<QString> value;
};

std::optional<OptionWord> ReadOptionWord(const QString& word) {
    if (!word.startsWith(u'-') || word == u"-" || word == u"--") {
        return std::nullopt;
    }
    QString body = word.mid(word.startsWith(u"--") ? 2 : 1);
    const qsizetype eq = body.indexOf(u'=');
    if (eq < 0) {
        return OptionWord{body, std::nullopt};
    }
    return OptionWord{body.left(eq), body.mid(eq + 1)};
}

// The values of one option among a subcommand's arguments, in order.
QStringList ValuesIn(const QStringList& arguments, const GlobalOption& option) {
    QStringList values;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const auto word = ReadOptionWord(arguments.at(i));
        if (!word || word->name != QStringView(option.name)) {
            continue;
        }
        if (!option.takesValue) {
            values << QString();
        } else if (word->value) {
            values << *word->value;
        } else if (i + 1 < arguments.size()) {
            values << arguments.at(++i);
        }
    }
    return values;
}

}  // namespace

bool LeadingOptions::HasConnection() const {
    for (const Option& o : options) {
        if (Find(o.name)->connection) {
            return true;
        }
    }
    return false;
}

std::variant<LeadingOptions, QString> TakeLeadingOptions(const QStringList& arguments) {
    LeadingOptions out;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const auto option = ReadOptionWord(word);
        if (!option || word == u"--help" || word == u"-h" || word == u"--version") {
            break;
        }
        const GlobalOption* known = Find(option->name);
        if (known == nullptr) {
            return QStringLiteral("unknown option \"%1\" before the subcommand; see gatectl --help")
                .arg(word);
        }
        if (!known->takesValue) {
            if (option->value) {
                return QStringLiteral("--%1 takes no value").arg(option->name);
            }
            out.options.append({option->name, QString()});
            continue;
        }
        if (option->value) {
            out.options.append({option->name, *option->value});
        } else if (i + 1 < arguments.size()) {
            out.options.append({option->name, arguments.at(++i)});
        } else {
            return QStringLiteral("--%1 wants a value").arg(option->name);
        }
    }
    out.rest = arguments.mid(i);
    return out;
}

std::variant<QStringList, QString> MergeLeadingOptions(const LeadingOptions& leading,
                                                       const QStringList& own) {
    QStringList merged;
    for (const GlobalOption& option : kGlobalOptions) {
        QStringList before;
        for (const LeadingOptions::Option& o : leading.options) {
            if (o.name == QStringView(option.name)) {
                before << o.value;
            }
        }
        if (before.isEmpty()) {
            continue;
        }
        const QStringList after = ValuesIn(own, option);
        if (!after.isEmpty()) {
            if (option.takesValue && after != before) {
                return QStringLiteral(
                           "--%1 is given before and after the subcommand with different values "
                           "(%2; %3)")
                    .arg(QStringView(option.name), before.join(QStringLiteral(", ")),
                         after.join(QStringLiteral(", ")));
            }
            continue;  // the subcommand's own arguments carry it already
        }
        const QString name = QStringLiteral("--") + QStringView(option.name).toString();
        if (!option.takesValue) {
            merged << name;
            continue;
        }
        for (const QString& value : before) {
            merged << name << value;
        }
    }
    return merged + own;
}

}  // namespace cli
