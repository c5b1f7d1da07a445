#pragma once

#include "core/netcfg/module_settings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace netcfg {

// The settings whose emptiness after a read means the module did not really answer.
bool IsReadComplete(const ModuleSettings& settings);

// A list field read as a decimal integer (its item index); nothing when it is not one.
std::optional<int> ListIndexOf(const QByteArray& field);

// The wire text of a list's index ("-1" for a list without a selection).
QByteArray IndexText(int index);

// The warning shown when a list without a selection would be written: the write is refused.
QString NoSelectionText(const QString& settingName);

// A text field as a read filled it: the bytes read and the text shown for them.
struct ShownText {
    QByteArray bytes;
    QString text;
};

// The text that shows the bytes read (GBK decoded; bytes that are not GBK show as U+FFFD).
ShownText ShowBytes(const QByteArray& bytes);

// What a text field writes back: the bytes read, exactly, while the field still shows what the
// read put there (a name need not be valid GBK, and its display does not encode back to it);
// the field's text in GBK once the operator has changed it.
QByteArray BytesToWrite(const ShownText& shown, const QString& current);

}  // namespace netcfg
