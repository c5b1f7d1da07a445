#pragma once

// Test-side ends of gate-sim's lines: a TCP connection or the slave side of a pseudo-terminal,
// with bounded reads and an exchange that cuts replies with the library's scanner.

#include "gate/wire_frame.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTcpSocket>

#include <memory>
#include <optional>

class SimLineClient {
public:
    virtual ~SimLineClient() = default;
    virtual bool Write(const QByteArray& bytes) = 0;
    // Whatever arrives within timeoutMs (possibly nothing); empty also when the line is gone.
    virtual QByteArray Read(int timeoutMs) = 0;
    // True once the far end has hung up.
    virtual bool HungUp(int timeoutMs) = 0;

    struct Outcome {
        std::optional<gate::wire::Reply> reply;
        bool damaged = false;  // a whole frame for this request failed its CRC
        qint64 elapsedMs = 0;
    };
    // Sends the request and waits up to timeoutMs for the reply with its command and sequence.
    Outcome Exchange(const gate::wire::Request& request, int timeoutMs = 2000);
    // Sends raw bytes before the request (garbage on the line).
    Outcome ExchangeAfter(const QByteArray& prefix, const gate::wire::Request& request,
                          int timeoutMs = 2000);

private:
    gate::wire::ReplyScanner scanner_;
};

std::unique_ptr<SimLineClient> ConnectTcp(quint16 port, QString* error);
std::unique_ptr<SimLineClient> OpenPty(const QString& path, QString* error);
