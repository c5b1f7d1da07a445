// Saves a picture of each page of the main window and of each secondary window, as the
// operator sees them right after start-up, to the folder given as the last argument.
// With --lang en the windows are in English and the pictures' names end in "-en".
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

#include "app/console.h"
#include "app/console_language.h"
#include "app/main_window.h"
#include "forms/secondary_windows.h"
#include "gate/unconnected_gate_library.h"
#include "gui/qt_prompter.h"
#include "gui/status_bar.h"
#include "util/clock.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    app::ConsoleLanguage language = app::ConsoleLanguage::Chinese;
    if (args.size() >= 2 && args.front() == u"--lang") {
        const auto chosen = app::ParseConsoleLanguage(args.at(1));
        if (!chosen) {
            QTextStream(stderr) << "gate-screenshots: --lang wants en or zh" << Qt::endl;
            return 2;
        }
        language = *chosen;
        args = args.mid(2);
    }
    const QDir out(!args.isEmpty() ? args.front() : QStringLiteral("docs/screenshots"));
    QDir().mkpath(out.path());
    app::InstallConsoleLanguage(application, language);
    const QString suffix = language == app::ConsoleLanguage::English ? QStringLiteral("-en.png")
                                                                     : QStringLiteral(".png");

    gate::UnconnectedGateLibrary library;
    util::SystemClock clock;
    gui::QtPrompter prompter;
    app::Console console(library, prompter, clock, {});
    app::TForm1& form = console.Window();
    prompter.SetParent(&form);
    form.show();

    const char* names[] = {"page1-command", "page2-channel", "page3-eas", "page4-alarm",
                           "page5-tcpip"};
    for (int i = 0; i < form.PageControl1().count(); ++i) {
        form.PageControl1().setCurrentIndex(i);
        QApplication::processEvents();
        form.grab().save(out.filePath(QString::fromLatin1(names[i]) + suffix));
    }
    QWidget* dialogs[] = {&form.Form3(),      &form.fSetdlg(),   &form.ChangeIPdlg(),
                          &form.locateForm(), &form.fNhSetDlg(), &form.fPhSetDlg()};
    for (QWidget* dialog : dialogs) {
        dialog->show();
        QApplication::processEvents();
        dialog->grab().save(out.filePath(dialog->objectName() + suffix));
        dialog->hide();
    }
    return 0;
}
