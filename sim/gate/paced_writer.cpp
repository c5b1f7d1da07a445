#include "paced_writer.h"

#include <unistd.h>
#include <cerrno>

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

void PacedWriter::Write(const QByteArray& bytes) {
    if (pending_.isEmpty()) {
        since_.start();
        sentSince_ = 0;
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
    // Bytes the line could have carried since the burst began, less those already sent; one
    // byte is always allowed so a burst starts at once.
    const qint64 allowed = since_.nsecsElapsed() * baud_ / 10 / 1000000000 + 1 - sentSince_;
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
