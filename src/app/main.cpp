#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Lintel"));
    app::TForm1 form1;
    form1.show();
    return QApplication::exec();
}
