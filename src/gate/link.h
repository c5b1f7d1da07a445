#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>

namespace gate {

// A byte link to the controller: a serial line or a TCP connection. Everything is synchronous
// and bounded by the deadline passed in, so a dead peer never holds the caller longer.
class Link {
public:
    virtual ~Link() = default;

    virtual bool IsOpen() const = 0;
    // Writes all bytes and waits until they left the process; false when the link failed.
    virtual bool Write(QByteArrayView bytes, QDeadlineTimer deadline) = 0;
    // Returns the bytes that arrived, waiting for the first ones until the deadline; empty on
    // timeout or when the link failed.
    virtual QByteArray Read(QDeadlineTimer deadline) = 0;
    // Returns what has already arrived without waiting.
    virtual QByteArray ReadAvailable() = 0;
    virtual void Close() = 0;
};

}  // namespace gate
