#pragma once

#include "gate/wire_frame.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace testing_support {

// A controller played from a script, on its own thread: either a TCP server on 127.0.0.1 (an
// ephemeral port) or the master side of a pseudo-terminal whose slave the library opens as its
// serial device. For every request it receives it runs the script, which answers with steps:
// bytes to send after an optional delay, or a hang-up (the connection or the pseudo-terminal
// master is closed). Every wait of the thread is bounded; the destructor stops it.
class ScriptedWirePeer {
public:
    struct Step {
        QByteArray bytes;
        int delayMs = 0;
        bool hangUp = false;
    };
    using Script = std::function<QList<Step>(const gate::wire::Request&)>;

    static std::unique_ptr<ScriptedWirePeer> ListenTcp(Script script);
    static std::unique_ptr<ScriptedWirePeer> OpenPty(Script script);
    ~ScriptedWirePeer();

    quint16 Port() const { return port_; }
    QString DevicePath() const { return devicePath_; }
    int Connections() const { return connections_; }
    QList<gate::wire::Request> Requests() const;
    // Writes bytes to the pseudo-terminal master now, outside any exchange (an IF2 stream).
    bool SendOnPty(const QByteArray& bytes);

    // The usual answer: the reply to the request with the given result, status and payload.
    static QByteArray ReplyTo(const gate::wire::Request& request, std::uint8_t result,
                              std::uint8_t status, const QByteArray& payload,
                              std::uint8_t address = 0x01);

private:
    explicit ScriptedWirePeer(Script script) : script_(std::move(script)) {}
    void runTcp();
    void runPty();
    // Serves one open descriptor until it closes or a step hangs up; false when hung up.
    bool serve(int fd);

    Script script_;
    int listenFd_ = -1;
    int ptyFd_ = -1;
    quint16 port_ = 0;
    QString devicePath_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    QList<gate::wire::Request> requests_;
    std::thread thread_;
};

}  // namespace testing_support
