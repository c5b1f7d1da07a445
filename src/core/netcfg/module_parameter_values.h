#pragma once

#include "core/netcfg/parameter_codes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace netcfg {

// A module setting as a person names and enters it outside the properties dialog: the name of
// its ModuleSettings field, what kind of value it takes, and for a list setting the words of its
// items in index order (the index is what travels).
struct ParameterValue {
    enum class Kind { Text, Ipv4, Number, List, ReadOnly };
    const ParameterCode* code = nullptr;
    QString name;  // "UserName", "BaudRate", ...
    Kind kind = Kind::Text;
    QStringList items;  // List: item words, index order
    int max = 0;        // Number: largest value (the smallest is 0)
};

// The 21 settings in read-number order.
std::span<const ParameterValue> ParameterValues();

// The setting of a field name or a two-letter code, compared without regard to case; nullptr
// when there is none.
const ParameterValue* FindParameterValue(QStringView nameOrCode);

// The value as a person reads it: the item word of a list index ("9600" for baud-rate index 3),
// the text of the others (names decoded from GBK). A list index without an item shows as it
// came, with a note.
QString DisplayValue(const ParameterValue& parameter, const QByteArray& wire);

// The wire text of an entered value, or nothing with the reason in *why: list settings take
// their item words (or the index), addresses a dotted IPv4 address, numbers a decimal number in
// range, names any text without "|" (the protocol's separator), encoded in GBK.
std::optional<QByteArray> WireValue(const ParameterValue& parameter, const QString& entered,
                                    QString* why);

}  // namespace netcfg
