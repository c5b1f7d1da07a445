#include "gate_simulator.h"

#include "if2_pty_output.h"
#include "model_settings.h"
#include "pty_line_server.h"
#include "tcp_line_server.h"
#include "timeline.h"

#include <QDateTime>
#include <QFile>

#include <cstdio>

namespace sim {

GateSimulator::GateSimulator() = default;

GateSimulator::~GateSimulator() {
    Stop();
}

bool GateSimulator::Start(const SimulatorOptions& options, QString* error) {
    Stop();
    auto fail = [&](const QString& why) {
        Stop();
        if (error) {
            *error = why;
        }
        return false;
    };
    if (!options.logFile.isEmpty()) {
        log_ = std::fopen(QFile::encodeName(options.logFile).constData(), "a");
        if (log_ == nullptr) {
            return fail(QStringLiteral("cannot open log file %1").arg(options.logFile));
        }
    }
    QString settingError;
    shared_.With([&](ControllerModel& model, FaultPlan&) {
        std::FILE* log = log_;
        model.SetLogSink(
            log == nullptr ? std::function<void(const QString&)>() : [log](const QString& line) {
                const QByteArray text =
                    (QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz ")) + line +
                     QLatin1Char('\n'))
                        .toUtf8();
                std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), log);
                std::fflush(log);
            });
        for (const auto& [name, value] : options.settings) {
            const QString why = ApplySetting(model, name, value);
            if (!why.isEmpty() && settingError.isEmpty()) {
                settingError = why;
            }
        }
    });
    if (!settingError.isEmpty()) {
        return fail(settingError);
    }

    if (options.tcp) {
        auto thread = std::make_unique<ServerThread>();
        quint16 port = 0;
        const bool ok = thread->Launch(
            [&](QString* why) -> std::unique_ptr<QObject> {
                auto server = std::make_unique<TcpLineServer>(shared_);
                if (!server->Listen(options.tcpHost, options.tcpPort, why)) {
                    return nullptr;
                }
                port = server->Port();
                server->OnAccepted([this] { ++tcpAccepted_; });
                return server;
            },
            error);
        if (!ok) {
            Stop();
            return false;
        }
        threads_.push_back(std::move(thread));
        std::lock_guard<std::mutex> lock(endpointsMutex_);
        endpoints_.tcpPort = port;
    }
    if (options.pty) {
        auto thread = std::make_unique<ServerThread>();
        QString path;
        const bool ok = thread->Launch(
            [&](QString* why) -> std::unique_ptr<QObject> {
                auto server = std::make_unique<PtyLineServer>(shared_, options.baud);
                if (!server->Open(options.ptyLink, why)) {
                    return nullptr;
                }
                path = server->Path();
                server->OnReopened([this](const QString& newPath) {
                    std::lock_guard<std::mutex> lock(endpointsMutex_);
                    endpoints_.ptyPath = newPath;
                });
                return server;
            },
            error);
        if (!ok) {
            Stop();
            return false;
        }
        threads_.push_back(std::move(thread));
        std::lock_guard<std::mutex> lock(endpointsMutex_);
        endpoints_.ptyPath = path;
    }
    if (options.if2Pty) {
        auto thread = std::make_unique<ServerThread>();
        QString path;
        const bool ok = thread->Launch(
            [&](QString* why) -> std::unique_ptr<QObject> {
                auto output = std::make_unique<If2PtyOutput>(shared_, options.baud);
                if (!output->Open(options.if2Link, why)) {
                    return nullptr;
                }
                path = output->Path();
                return output;
            },
            error);
        if (!ok) {
            Stop();
            return false;
        }
        threads_.push_back(std::move(thread));
        std::lock_guard<std::mutex> lock(endpointsMutex_);
        endpoints_.if2PtyPath = path;
    }
    if (options.scenario || options.demoSeed) {
        auto thread = std::make_unique<ServerThread>();
        thread->Launch(
            [&](QString*) -> std::unique_ptr<QObject> {
                return std::make_unique<Timeline>(shared_, options.scenario, options.demoSeed);
            },
            nullptr);
        threads_.push_back(std::move(thread));
    }
    return true;
}

void GateSimulator::Stop() {
    // The timeline (last started) goes first, the lines after it.
    while (!threads_.empty()) {
        threads_.back()->Stop();
        threads_.pop_back();
    }
    {
        std::lock_guard<std::mutex> lock(endpointsMutex_);
        endpoints_ = SimulatorEndpoints{};
    }
    shared_.With([](ControllerModel& model, FaultPlan&) { model.SetLogSink({}); });
    if (log_ != nullptr) {
        std::fclose(log_);
        log_ = nullptr;
    }
}

SimulatorEndpoints GateSimulator::Endpoints() const {
    std::lock_guard<std::mutex> lock(endpointsMutex_);
    return endpoints_;
}

void GateSimulator::AddFault(const Fault& fault, int count) {
    shared_.With([&](ControllerModel&, FaultPlan& faults) { faults.Add(fault, count); });
}

void GateSimulator::AddFaultAfter(int cleanReplies, const Fault& fault) {
    shared_.With(
        [&](ControllerModel&, FaultPlan& faults) { faults.AddAfter(cleanReplies, fault); });
}

}  // namespace sim
