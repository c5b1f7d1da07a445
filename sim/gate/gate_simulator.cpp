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

GateSimulator::GateSimulator() {
    controllers_.push_back(std::make_unique<SharedController>());
}

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
    if (!SetUpControllers(options, error)) {
        Stop();
        return false;
    }
    const int perLine = options.controllersPerLine;
    for (int line = 0; line < options.tcpLines; ++line) {
        std::vector<SharedController*> members;
        for (int k = 0; k < perLine; ++k) {
            members.push_back(controllers_[static_cast<std::size_t>(line * perLine + k)].get());
        }
        buses_.push_back(std::make_unique<ControllerBus>(std::move(members)));
    }

    for (int line = 0; options.tcp && line < options.tcpLines; ++line) {
        auto thread = std::make_unique<ServerThread>();
        quint16 port = 0;
        const quint16 wanted =
            options.tcpPort == 0 ? 0 : static_cast<quint16>(options.tcpPort + line);
        const ControllerBus& bus = *buses_[static_cast<std::size_t>(line)];
        const bool ok = thread->Launch(
            [&](QString* why) -> std::unique_ptr<QObject> {
                auto server = std::make_unique<TcpLineServer>(bus);
                if (!server->Listen(options.tcpHost, wanted, why)) {
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
        if (line == 0) {
            endpoints_.tcpPort = port;
        }
        endpoints_.tcpPorts.push_back(port);
    }
    if (options.pty) {
        auto thread = std::make_unique<ServerThread>();
        QString path;
        const bool ok = thread->Launch(
            [&](QString* why) -> std::unique_ptr<QObject> {
                auto server = std::make_unique<PtyLineServer>(*buses_.front(), options.baud);
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
                auto output = std::make_unique<If2PtyOutput>(*controllers_.front(), options.baud);
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
                std::vector<SharedController*> all;
                for (const auto& controller : controllers_) {
                    all.push_back(controller.get());
                }
                return std::make_unique<Timeline>(std::move(all), options.scenario,
                                                  options.demoSeed);
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
    buses_.clear();
    {
        std::lock_guard<std::mutex> lock(endpointsMutex_);
        endpoints_ = SimulatorEndpoints{};
    }
    for (const auto& controller : controllers_) {
        controller->With([](ControllerModel& model, FaultPlan&) { model.SetLogSink({}); });
    }
    if (log_ != nullptr) {
        std::fclose(log_);
        log_ = nullptr;
    }
}

bool GateSimulator::SetUpControllers(const SimulatorOptions& options, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (options.controllersPerLine < 1 || options.controllersPerLine > kMaxControllersPerLine ||
        options.tcpLines < 1 || options.tcpLines > kMaxTcpLines) {
        return fail(QStringLiteral("1 to %1 controllers per line and 1 to %2 lines")
                        .arg(kMaxControllersPerLine)
                        .arg(kMaxTcpLines));
    }
    const auto total = static_cast<std::size_t>(options.controllersPerLine * options.tcpLines);
    while (controllers_.size() < total) {
        controllers_.push_back(std::make_unique<SharedController>());
    }
    std::FILE* log = log_;
    QString settingError;
    int lineBase = 0;  // the address of the line's first controller
    for (std::size_t i = 0; i < total; ++i) {
        const int line = static_cast<int>(i) / options.controllersPerLine;
        const int onLine = static_cast<int>(i) % options.controllersPerLine;
        controllers_[i]->With([&](ControllerModel& model, FaultPlan&) {
            for (const auto& [name, value] : options.settings) {
                const QString why = ApplySetting(model, name, value);
                if (!why.isEmpty() && settingError.isEmpty()) {
                    settingError = why;
                }
            }
            if (onLine == 0) {
                lineBase = model.State().address;
            }
            const int address = lineBase + onLine;
            if (address > 254 && settingError.isEmpty()) {
                settingError = QStringLiteral("the controllers' addresses run past FE");
            }
            model.State().address = static_cast<Byte>(address);
            // Several controllers log to one file: each line names its controller.
            const QString who = total == 1 ? QString()
                                           : QStringLiteral("[line %1 address %2] ")
                                                 .arg(line + 1)
                                                 .arg(address, 2, 16, QLatin1Char('0'));
            model.SetLogSink(
                log == nullptr
                    ? std::function<void(const QString&)>()
                    : [log, who](const QString& text) {
                          const QByteArray bytes = (QDateTime::currentDateTime().toString(
                                                        QStringLiteral("hh:mm:ss.zzz ")) +
                                                    who + text + QLatin1Char('\n'))
                                                       .toUtf8();
                          std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), log);
                          std::fflush(log);
                      });
        });
    }
    return settingError.isEmpty() || fail(settingError);
}

SimulatorEndpoints GateSimulator::Endpoints() const {
    std::lock_guard<std::mutex> lock(endpointsMutex_);
    return endpoints_;
}

void GateSimulator::AddFault(const Fault& fault, int count) {
    controllers_.front()->With(
        [&](ControllerModel&, FaultPlan& faults) { faults.Add(fault, count); });
}

void GateSimulator::AddFaultAfter(int cleanReplies, const Fault& fault) {
    controllers_.front()->With(
        [&](ControllerModel&, FaultPlan& faults) { faults.AddAfter(cleanReplies, fault); });
}

}  // namespace sim
