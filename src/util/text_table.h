#pragma once

#include <QString>

namespace util {

// Which language a formatted text comes out in. The Chinese source texts are what files,
// the wire and gatectl carry, whatever language the windows show; the display texts are those of
// the console's language (the translators installed in the application). Formatting code that
// serves both the export and the windows takes one of these, so that the choice is made by the
// caller and an export can never follow the window language by accident.
//
// Source texts are marked with QT_TRANSLATE_NOOP("Context", "...") where they stand, so that
// lupdate finds them; Text() is then called with the same context.
class TextTable {
public:
    // The Chinese source texts, untouched.
    static const TextTable& Source();
    // The texts in the console's language; the source texts while no translator is installed.
    static const TextTable& Display();

    QString Text(const char* context, const char* sourceText) const;

    bool Translates() const { return translates_; }

private:
    explicit TextTable(bool translates) : translates_(translates) {}

    bool translates_;
};

}  // namespace util
