#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include "app/console_language.h"

// The console's language for the length of a scope: installs it as gate-console does and, on
// leaving, removes its translators and restores the default locale, so that tests of either
// language can run one after another in one process.
class ScopedConsoleLanguage {
public:
    explicit ScopedConsoleLanguage(app::ConsoleLanguage language) {
        missing_ = app::InstallConsoleLanguage(*QCoreApplication::instance(), language);
    }
    ~ScopedConsoleLanguage() {
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        QLocale::setDefault(QLocale::c());
    }
    ScopedConsoleLanguage(const ScopedConsoleLanguage&) = delete;
    ScopedConsoleLanguage& operator=(const ScopedConsoleLanguage&) = delete;

    // The catalogues that could not be loaded.
    const QStringList& Missing() const { return missing_; }

private:
    QStringList missing_;
};
