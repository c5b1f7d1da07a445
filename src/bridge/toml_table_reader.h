#pragma once

// Reading a TOML table key by key with one error for the first fault: the line, the dotted key
// and what is wrong. Every key must be asked for by a handler, so a typo is refused, never read
// as a default.

#include <QSet>
#include <QString>

#include <toml++/toml.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace bridge {

// Thrown inside the reader at the first error; ReadSiteFile turns it into its result.
struct Refusal {
    int line;
    QString key;
    QString message;
};

[[noreturn]] void Refuse(const toml::node& node, const QString& key, const QString& message);

QString Str(std::string_view s);

// The keys of one table, each read once by a handler; a key without one is refused.
class TableReader {
public:
    TableReader(const toml::table& table, QString path) : table_(table), path_(std::move(path)) {}

    // The dotted key of `name` in this table, as errors name it.
    QString Key(const QString& name) const { return path_.isEmpty() ? name : path_ + u'.' + name; }

    // The node of `name`, or null; either way `name` counts as a known key.
    const toml::node* Find(const char* name);

    QString String(const char* name, bool required, const QString& fallback = {});
    std::optional<bool> Boolean(const char* name);
    std::optional<std::int64_t> Integer(const char* name, std::int64_t min, std::int64_t max);

    // Refuses the first key no handler asked for.
    void RefuseUnknown() const;

    const toml::table& Table() const { return table_; }

private:
    const toml::table& table_;
    QString path_;
    QSet<QString> known_;
};

// The table `name` of root; a missing one is refused when required, else read as empty.
const toml::table& SubTable(const toml::table& root, const char* name, bool required);

}  // namespace bridge
