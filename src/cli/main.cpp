// gatectl: the gate console's companion on the command line (docs/gatectl.md).
#include "cli/subcommands.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gatectl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GATECTL_VERSION));
    return cli::Dispatch(QCoreApplication::arguments().mid(1));
}
