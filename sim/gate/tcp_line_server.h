#pragma once

#include "request_processor.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <functional>

namespace sim {

// The controllers' line over TCP, as a serial-to-Ethernet module carries it: each connection
// is a byte stream with its own request scanner. Lives on its own ServerThread; the bus must
// outlive it.
class TcpLineServer : public QObject {
public:
    explicit TcpLineServer(const ControllerBus& bus);

    // Port 0 picks a free port; Port() tells which.
    bool Listen(const QHostAddress& host, quint16 port, QString* error);
    quint16 Port() const { return server_.serverPort(); }
    // Called on the server's thread for every connection accepted.
    void OnAccepted(std::function<void()> accepted) { accepted_ = std::move(accepted); }

private:
    void Accept();

    const ControllerBus& bus_;
    QTcpServer server_;
    std::function<void()> accepted_;
};

}  // namespace sim
