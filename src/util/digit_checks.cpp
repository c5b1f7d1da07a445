#include "util/digit_checks.h"

namespace util {

namespace {
bool isDec(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHex(QChar c) {
    return isDec(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}
}  // namespace

bool CheckDecStr(QStringView text) {
    for (QChar c : text) {
        if (!isDec(c)) {
            return false;
        }
    }
    return true;
}

bool CheckHexStr(QStringView text) {
    for (QChar c : text) {
        if (!isHex(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace util
