#include "bridge/toml_table_reader.h"

#include <string>

namespace bridge {

namespace {

int LineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

}  // namespace

void Refuse(const toml::node& node, const QString& key, const QString& message) {
    throw Refusal{LineOf(node), key, message};
}

QString Str(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const toml::node* TableReader::Find(const char* name) {
    known_.insert(QString::fromLatin1(name));
    return table_.get(name);
}

QString TableReader::String(const char* name, bool required, const QString& fallback) {
    const toml::node* node = Find(name);
    if (node == nullptr) {
        if (required) {
            Refuse(table_, Key(QString::fromLatin1(name)), QStringLiteral("missing"));
        }
        return fallback;
    }
    const auto value = node->value<std::string>();
    if (!node->is_string() || !value) {
        Refuse(*node, Key(QString::fromLatin1(name)), QStringLiteral("expected a string"));
    }
    return Str(*value);
}

std::optional<bool> TableReader::Boolean(const char* name) {
    const toml::node* node = Find(name);
    if (node == nullptr) {
        return std::nullopt;
    }
    if (!node->is_boolean()) {
        Refuse(*node, Key(QString::fromLatin1(name)), QStringLiteral("expected true or false"));
    }
    return *node->value<bool>();
}

std::optional<std::int64_t> TableReader::Integer(const char* name, std::int64_t min,
                                                 std::int64_t max) {
    const toml::node* node = Find(name);
    if (node == nullptr) {
        return std::nullopt;
    }
    if (!node->is_integer()) {
        Refuse(*node, Key(QString::fromLatin1(name)), QStringLiteral("expected an integer"));
    }
    const std::int64_t v = *node->value<std::int64_t>();
    if (v < min || v > max) {
        Refuse(*node, Key(QString::fromLatin1(name)),
               QStringLiteral("%1 is out of range (%2 to %3)").arg(v).arg(min).arg(max));
    }
    return v;
}

void TableReader::RefuseUnknown() const {
    for (auto&& [key, node] : table_) {
        const QString name = Str(key.str());
        if (!known_.contains(name)) {
            throw Refusal{static_cast<int>(key.source().begin.line), Key(name),
                          QStringLiteral("unknown key")};
        }
    }
}

const toml::table& SubTable(const toml::table& root, const char* name, bool required) {
    static const toml::table empty;
    const toml::node* node = root.get(name);
    if (node == nullptr) {
        if (required) {
            throw Refusal{1, QString::fromLatin1(name),
                          QStringLiteral("missing table [%1]").arg(QString::fromLatin1(name))};
        }
        return empty;
    }
    if (!node->is_table()) {
        Refuse(*node, QString::fromLatin1(name), QStringLiteral("expected a table"));
    }
    return *node->as_table();
}

}  // namespace bridge
