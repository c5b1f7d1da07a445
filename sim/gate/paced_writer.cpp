#include "paced_writer.h"

#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <thread>

namespace sim {

PacedWriter::PacedWriter(int baud, QObject* parent)
    : QObject(parent), baud_(baud > 0 ? baud : 115200), timer_(this) {
    timer_.setInterval(1);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PacedWriter::Pump);
}

void PacedWriter::SetFd(int fd) {
    fd_ = fd;
}

void PacedWriter::Discard() {
    pending_.clear();
    timer_.stop();
}

void PacedWriter::Write(const QByteArray& bytes, qsizetype requestBytes) {
    if (pending_.isEmpty()) {
        since_.start();
        // The request's bytes count as already carried on this burst's clock.
        sentSince_ = requestBytes;
        headStart_ = requestBytes == 0 ? 1 : 0;
    }
    pending_.append(bytes);
    if (pending_.size() > kMaxPending) {
        pending_.remove(0, pending_.size() - kMaxPending);
    }
    Pump();
}

void PacedWriter::Pump() {
    if (pending_.isEmpty() || fd_ < 0) {
        timer_.stop();
        return;
    }
    // Bytes the line could have carried since the burst began, less those already carried; a
    // burst without a request before it may start at once.
    const qint64 nsPerByte = 10LL * 1000000000LL / baud_;
    qint64 carried = since_.nsecsElapsed() / nsPerByte;
    // A short remainder is slept out here rather than left to the millisecond timer, whose
    // granularity would add up to a millisecond to every reply. This thread belongs to the line.
    const qint64 lastByteNs = (sentSince_ + pending_.size() - headStart_) * nsPerByte;
    const qint64 waitNs = lastByteNs - since_.nsecsElapsed();
    if (waitNs > 0 && waitNs <= kMaxSleepNs) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(waitNs));
        carried = since_.nsecsElapsed() / nsPerByte;
    }
    const qint64 allowed = carried + headStart_ - sentSince_;
    if (allowed > 0) {
        const qint64 n = std::min<qint64>(allowed, pending_.size());
        const ssize_t written = ::write(fd_, pending_.constData(), static_cast<size_t>(n));
        if (written > 0) {
            pending_.remove(0, written);
            sentSince_ += written;
        }
    }
    if (pending_.isEmpty()) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

}  // namespace sim
