// Saves a picture of each page of the main window and of each secondary window, as the
// operator sees them right after start-up, to the folder given as the first argument.
#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include "app/console.h"
#include "app/main_window.h"
#include "forms/secondary_windows.h"
#include "gate/unconnected_gate_library.h"
#include "gui/qt_prompter.h"
#include "gui/status_bar.h"
#include "util/clock.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const QDir out(args.size() > 1 ? args.at(1) : QStringLiteral("docs/screenshots"));
    QDir().mkpath(out.path());

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
        form.grab().save(out.filePath(QString::fromLatin1(names[i]) + QStringLiteral(".png")));
    }
    QWidget* dialogs[] = {&form.Form3(),      &form.fSetdlg(),   &form.ChangeIPdlg(),
                          &form.locateForm(), &form.fNhSetDlg(), &form.fPhSetDlg()};
    for (QWidget* dialog : dialogs) {
        dialog->show();
        QApplication::processEvents();
        dialog->grab().save(out.filePath(dialog->objectName() + QStringLiteral(".png")));
        dialog->hide();
    }
    return 0;
}
