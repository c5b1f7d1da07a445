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

    PacedWriter(int baud, QObject* parent);
    void SetFd(int fd);
    void Write(const QByteArray& bytes);
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
};

}  // namespace sim
