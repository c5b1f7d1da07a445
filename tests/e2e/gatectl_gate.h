#pragma once

#include "gate_simulator.h"
#include "gatectl_runner.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

// gate-sim in-process on a free loopback port, for the gatectl tests: one controller, or several
// on one line (addresses 01, 02, ...).
struct Gate {
    sim::GateSimulator simulator;
    QString tcp;

    explicit Gate(const std::vector<std::pair<QString, QString>>& settings = {},
                  int controllersPerLine = 1) {
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        options.settings = settings;
        options.controllersPerLine = controllersPerLine;
        QString error;
        if (simulator.Start(options, &error)) {
            tcp = TcpArgument(simulator.Endpoints().tcpPort);
        }
    }
    // f(ControllerModel&) under the lock of controller `index`.
    template <typename F>
    auto With(F&& f, std::size_t index = 0) {
        return simulator.WithModelOf(index, std::forward<F>(f));
    }
    int RecordCount(std::size_t index = 0) {
        return With([](sim::ControllerModel& m) { return m.Records().Count(); }, index);
    }
    sim::StoredConfig Live() {
        return With([](sim::ControllerModel& m) { return m.State().live; });
    }
};

inline QByteArray FileContent(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline QJsonObject JsonOf(const QByteArray& out) {
    return QJsonDocument::fromJson(out).object();
}
