#pragma once

#include <QChar>

namespace util {

enum class DigitFilter { Decimal, Hexadecimal };

enum class KeyVerdict { Accept, RefuseWithBeep };

// The rule of the entry-field key filters: backspace (code 8) always passes; any other typed
// character passes only when it is a digit of the filter's kind. Enter and other control
// characters are refused like any non-digit.
KeyVerdict FilterTypedChar(QChar typed, DigitFilter filter);

}  // namespace util
