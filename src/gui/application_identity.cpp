#include "gui/application_identity.h"

#include <QCoreApplication>

namespace gui {

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Lintel"));
}

}  // namespace gui
