#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace sim {

// Writes to a pseudo-terminal master no faster than a serial line at the given baud rate would
// carry the bytes (10 bits per byte), since a pseudo-terminal ignores the rate. Unsent bytes
// are bounded: when nobody reads the line the oldest ones are dropped.
class PacedWriter : public QObject {
public:
    static constexpr qsizetype kMaxPending = 64 * 1024;
    // The longest wait slept out in one go instead of waiting for the next timer tick.
    static constexpr qint64 kMaxSleepNs = 5'000'000;

    PacedWriter(int baud, QObject* parent);
    void SetFd(int fd);
    // Queues bytes for the line. requestBytes is the size of the request just received: a real
    // line carries it before the reply can start, and a pseudo-terminal delivers it at once, so
    // the reply waits for the request's wire time as well as its own.
    void Write(const QByteArray& bytes, qsizetype requestBytes = 0);
    void Discard();
    qsizetype Pending() const { return pending_.size(); }

private:
    void Pump();

    int fd_ = -1;
    int baud_;
    QByteArray pending_;
    QTimer timer_;
    QElapsedTimer since_;
    qint64 sentSince_ = 0;
    qint64 headStart_ = 1;  // a burst without a request before it starts at once
};

}  // namespace sim
