#pragma once

// A broker and a subscriber for the bridge's tests: Debian's mosquitto on a loopback port the
// test picks (tried again on another port when it is taken under parallel ctest), with a
// configuration file of the test's own, and mosquitto_sub as the consumer.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

inline int FreeLoopbackPort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

inline bool PortAnswers(int port) {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return s.waitForConnected(200);
}

class Broker {
public:
    // extra: further lines of the listener (TLS, password file); persistence for restarts.
    bool Start(const QString& dir, const QString& extra = {}, bool persistence = true) {
        dir_ = dir;
        extra_ = extra;
        persistence_ = persistence;
        for (int attempt = 0; attempt < 5; ++attempt) {
            port_ = FreeLoopbackPort();
            if (port_ != 0 && Launch()) {
                return true;
            }
        }
        return false;
    }
    // Stopped cleanly (its persistence saved), then started on the same port.
    void Stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }
    bool Restart() {
        for (int attempt = 0; attempt < 20; ++attempt) {  // the port may linger for a moment
            if (Launch()) {
                return true;
            }
            QTest::qWait(250);
        }
        return false;
    }
    int Port() const { return port_; }
    QString Log() { return QString::fromUtf8(process_.readAllStandardError()); }
    ~Broker() { Stop(); }

private:
    bool Launch() {
        const QString conf = QDir(dir_).filePath(QStringLiteral("mosquitto.conf"));
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        // A broker started as root changes to `user`: the test's own, so that it reads the
        // test's files.
        const passwd* pw = getpwuid(geteuid());
        QString text = QStringLiteral("listener %1 127.0.0.1\n").arg(port_);
        text += extra_.isEmpty() ? QStringLiteral("allow_anonymous true\n") : extra_;
        text +=
            QStringLiteral("user %1\nlog_dest stderr\nlog_type error\nlog_type warning\n")
                .arg(pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QStringLiteral("root"));
        if (persistence_) {
            text += QStringLiteral("persistence true\npersistence_location %1/\n").arg(dir_);
        }
        f.write(text.toUtf8());
        f.close();
        process_.start(QStringLiteral("mosquitto"), {QStringLiteral("-c"), conf});
        if (!process_.waitForStarted(3000)) {
            return false;
        }
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            if (process_.state() == QProcess::NotRunning) {
                return false;  // the port was taken meanwhile
            }
            if (PortAnswers(port_)) {
                return true;
            }
            QTest::qWait(50);
        }
        process_.kill();
        process_.waitForFinished(2000);
        return false;
    }

    QProcess process_;
    QString dir_;
    QString extra_;
    bool persistence_ = true;
    int port_ = 0;
};

// mosquitto_sub -v on the base's topics at QoS 1; with a client id it keeps a persistent
// session, so messages published while it is away wait for it in the broker.
class Subscriber {
public:
    struct Message {
        QString topic;
        QByteArray payload;
        QJsonObject Json() const { return QJsonDocument::fromJson(payload).object(); }
    };

    bool Start(int port, const QString& filter, const QString& clientId = {},
               const QStringList& extra = {}) {
        QStringList args{QStringLiteral("-h"),  QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                         QString::number(port), QStringLiteral("-v"),        QStringLiteral("-q"),
                         QStringLiteral("1"),   QStringLiteral("-t"),        filter};
        if (!clientId.isEmpty()) {
            args << QStringLiteral("-c") << QStringLiteral("-i") << clientId;
        }
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { Read(); });
        process_.start(QStringLiteral("mosquitto_sub"), args + extra);
        return process_.waitForStarted(3000);
    }
    ~Subscriber() {
        process_.kill();
        process_.waitForFinished(2000);
    }

    const QList<Message>& Messages() {
        Read();
        return messages_;
    }
    QList<Message> On(const QString& topicEnd) {
        QList<Message> out;
        for (const Message& m : Messages()) {
            if (m.topic.endsWith(topicEnd)) {
                out.append(m);
            }
        }
        return out;
    }
    // The payloads of one topic, in the order they came.
    QByteArrayList Payloads(const QString& topicEnd) {
        QByteArrayList out;
        for (const Message& m : On(topicEnd)) {
            out.append(m.payload);
        }
        return out;
    }
    QString Errors() { return QString::fromUtf8(process_.readAllStandardError()); }

private:
    void Read() {
        buffer_ += process_.readAllStandardOutput();
        qsizetype end = 0;
        while ((end = buffer_.indexOf('\n')) >= 0) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 1);
            const qsizetype space = line.indexOf(' ');
            messages_.append(Message{QString::fromUtf8(line.left(space)),
                                     space < 0 ? QByteArray() : line.mid(space + 1)});
        }
    }

    QProcess process_;
    QByteArray buffer_;
    QList<Message> messages_;
};
