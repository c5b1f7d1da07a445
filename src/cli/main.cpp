// gatectl: the gate console's companion on the command line (docs/gatectl.md).
#include "cli/subcommands.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv) {
    // A closed standard output (a reader such as head that has seen enough) makes a write fail
    // with EPIPE, which gatectl reports as a file error (exit code 4), instead of SIGPIPE
    // ending the process before it can say anything.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gatectl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GATECTL_VERSION));
    return cli::Dispatch(QCoreApplication::arguments().mid(1));
}
