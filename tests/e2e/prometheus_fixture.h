#pragma once

// Debian's Prometheus for the bridge's tests: on a loopback port the test picks (tried again on
// another when it is taken), with a scrape configuration and a storage folder of the test's own
// and a scrape every second; queries through its HTTP API.

#include "mqtt_broker_fixture.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

// GET on loopback; the body, or an empty array when there is no answer within timeoutMs.
inline QByteArray HttpGet(const QUrl& url, int timeoutMs = 5000, int* status = nullptr) {
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(url));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!reply->isFinished()) {
        reply->abort();
    }
    if (status != nullptr) {
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

class Prometheus {
public:
    // Scrapes 127.0.0.1:targetPort every second as job "gate-bridge".
    bool Start(const QString& dir, int targetPort) {
        dir_ = dir;
        QFile f(QDir(dir).filePath(QStringLiteral("prometheus.yml")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        f.write(QStringLiteral("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                               "scrape_configs:\n  - job_name: gate-bridge\n"
                               "    static_configs:\n      - targets: ['127.0.0.1:%1']\n")
                    .arg(targetPort)
                    .toUtf8());
        f.close();
        for (int attempt = 0; attempt < 5; ++attempt) {
            port_ = FreeLoopbackPort();
            if (port_ != 0 && Launch()) {
                return true;
            }
        }
        return false;
    }
    // An instant query; its "data.result" array, or the error in *error.
    QJsonArray Query(const QString& expr, QString* error = nullptr) {
        const QUrl url = QUrl::fromEncoded(
            QStringLiteral("http://127.0.0.1:%1/api/v1/query?query=").arg(port_).toLatin1() +
            QUrl::toPercentEncoding(expr));
        const QJsonObject answer = QJsonDocument::fromJson(HttpGet(url)).object();
        if (error != nullptr) {
            *error = answer.value(QStringLiteral("status")).toString() == u"success"
                         ? QString()
                         : answer.value(QStringLiteral("error")).toString(QStringLiteral("none"));
        }
        return answer.value(QStringLiteral("data"))
            .toObject()
            .value(QStringLiteral("result"))
            .toArray();
    }
    QString Log() { return QString::fromUtf8(process_.readAllStandardError()); }
    ~Prometheus() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

private:
    bool Launch() {
        process_.start(QStringLiteral("prometheus"),
                       {QStringLiteral("--config.file=%1/prometheus.yml").arg(dir_),
                        QStringLiteral("--storage.tsdb.path=%1/tsdb").arg(dir_),
                        QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(port_),
                        QStringLiteral("--log.level=warn")});
        if (!process_.waitForStarted(3000)) {
            return false;
        }
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            if (process_.state() == QProcess::NotRunning) {
                return false;  // the port was taken meanwhile
            }
            int status = 0;
            HttpGet(QUrl(QStringLiteral("http://127.0.0.1:%1/-/ready").arg(port_)), 1000, &status);
            if (status == 200) {
                return true;
            }
            QTest::qWait(100);
        }
        process_.kill();
        process_.waitForFinished(2000);
        return false;
    }

    QProcess process_;
    QString dir_;
    int port_ = 0;
};
