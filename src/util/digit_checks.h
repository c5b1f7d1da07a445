#pragma once

#include <QStringView>

namespace util {

// True when every character is "0" to "9"; an empty text is true.
bool CheckDecStr(QStringView text);

// True when every character is a hexadecimal digit of either case; an empty text is true.
bool CheckHexStr(QStringView text);

}  // namespace util
