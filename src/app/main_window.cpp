#include "app/main_window.h"

#include "app/status_bar.h"

namespace app {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), statusBar_(new GateStatusBar(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lintel V2.3"));
    setStatusBar(statusBar_);
    setCentralWidget(new QWidget(this));
    setFixedSize(818, 691 + statusBar_->sizeHint().height());
}

}  // namespace app
