#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

// Runs the gatectl binary as an operator's script would, while this thread's event loop keeps
// serving what the test plays in-process (a module on UDP).
struct GatectlResult {
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;

    QString Err() const { return QString::fromUtf8(err); }
    QString Out() const { return QString::fromUtf8(out); }
};

inline GatectlResult RunGatectl(const QStringList& arguments, int timeoutMs = 30000) {
    QProcess process;
    process.setProgram(QStringLiteral(GATECTL_PATH));
    process.setArguments(arguments);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    process.start();
    loop.exec();
    GatectlResult r;
    r.finished =
        process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
    if (!r.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    r.exitCode = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

inline QString TcpArgument(int port) {
    return QStringLiteral("127.0.0.1:%1").arg(port);
}
