#include "util/key_filter.h"

#include "util/digit_checks.h"

namespace util {

KeyVerdict FilterTypedChar(QChar typed, DigitFilter filter) {
    if (typed.unicode() == 8) {
        return KeyVerdict::Accept;
    }
    const QStringView one(&typed, 1);
    const bool ok = filter == DigitFilter::Decimal ? CheckDecStr(one) : CheckHexStr(one);
    return ok ? KeyVerdict::Accept : KeyVerdict::RefuseWithBeep;
}

}  // namespace util
