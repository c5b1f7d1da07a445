#include "util/text_table.h"

#include <QCoreApplication>

namespace util {

const TextTable& TextTable::Source() {
    static const TextTable source(false);
    return source;
}

const TextTable& TextTable::Display() {
    static const TextTable display(true);
    return display;
}

QString TextTable::Text(const char* context, const char* sourceText) const {
    if (translates_) {
        return QCoreApplication::translate(context, sourceText);
    }
    return QString::fromUtf8(sourceText);
}

}  // namespace util
