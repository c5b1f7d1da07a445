#include "gui/application_identity.h"

#include <QCoreApplication>

namespace app {

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Lintel"));
}

}  // namespace app
