#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace cli {

// gatectl's global options: the connection (--tcp, --serial, --com, --address) and --json. They
// may stand before the subcommand as well as after it, with the same meaning.
struct LeadingOptions {
    struct Option {
        QString name;   // without dashes: "tcp"
        QString value;  // empty for --json
    };
    QList<Option> options;
    QStringList rest;  // the subcommand's words and everything after them

    bool HasConnection() const;
};

// Takes the global options from the front of gatectl's arguments, up to the first word that is
// not one (the subcommand, or --help/--version). A usage message for an unknown option or a
// missing value.
std::variant<LeadingOptions, QString> TakeLeadingOptions(const QStringList& arguments);

// The arguments a subcommand parses: the leading options put in front of its own. An option
// given in both places must have the same values (a usage message otherwise); it is then passed
// once.
std::variant<QStringList, QString> MergeLeadingOptions(const LeadingOptions& leading,
                                                       const QStringList& own);

}  // namespace cli
