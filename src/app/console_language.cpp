#include "app/console_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

namespace {

// Loads one catalogue into a translator owned by the application and installs it; false when
// the file is missing or unreadable.
bool Install(QCoreApplication& application, const QString& name, const QString& directory) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(name, directory)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace

std::optional<ConsoleLanguage> ParseConsoleLanguage(const QString& name) {
    if (name == u"zh") {
        return ConsoleLanguage::Chinese;
    }
    if (name == u"en") {
        return ConsoleLanguage::English;
    }
    return std::nullopt;
}

QStringList InstallConsoleLanguage(QCoreApplication& application, ConsoleLanguage language) {
    QStringList missing;
    if (language == ConsoleLanguage::English) {
        // Qt's source texts are English already (its English catalogue is empty), so only the
        // console's own translation is needed.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        if (!Install(application, QStringLiteral("gate-console_en"), QStringLiteral(":/i18n"))) {
            missing << QStringLiteral(":/i18n/gate-console_en.qm");
        }
        return missing;
    }
    // The console's texts are Chinese in the source; Qt's own need its Chinese catalogues.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China));
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& catalogue :
         {QStringLiteral("qtbase_zh_CN"), QStringLiteral("qtserialport_zh_CN")}) {
        if (!Install(application, catalogue, qtTranslations)) {
            missing << qtTranslations + u'/' + catalogue + QStringLiteral(".qm");
        }
    }
    return missing;
}

}  // namespace app
