#pragma once

#include "gate/link.h"
#include "gate/wire_frame.h"

#include <QList>
#include <QThread>

#include <functional>

namespace testing_support {

// An in-memory controller link: every request written is kept, handed to a responder, and the
// bytes it returns are what the next reads deliver. With nothing to deliver, a read waits out
// its deadline as a silent line would.
class MemoryLink final : public gate::Link {
public:
    using Responder = std::function<QByteArray(const gate::wire::Request&)>;

    explicit MemoryLink(Responder responder) : responder_(std::move(responder)) {}

    bool IsOpen() const override { return open_; }
    bool Write(QByteArrayView bytes, QDeadlineTimer) override {
        if (!open_) {
            return false;
        }
        written_.append(bytes.toByteArray());
        scanner_.Feed(bytes);
        while (const auto request = scanner_.Next()) {
            requests_.append(*request);
            inbox_.append(responder_(*request));
        }
        return true;
    }
    QByteArray Read(QDeadlineTimer deadline) override {
        if (inbox_.isEmpty()) {
            QThread::msleep(std::uint64_t(std::max<qint64>(0, deadline.remainingTime())));
        }
        return ReadAvailable();
    }
    QByteArray ReadAvailable() override { return std::exchange(inbox_, {}); }
    void Close() override { open_ = false; }

    // Bytes that arrive before the next request, such as a late reply.
    void Deliver(const QByteArray& bytes) { inbox_.append(bytes); }

    const QList<QByteArray>& Written() const { return written_; }
    const QList<gate::wire::Request>& Requests() const { return requests_; }

private:
    Responder responder_;
    gate::wire::RequestScanner scanner_;
    QList<QByteArray> written_;
    QList<gate::wire::Request> requests_;
    QByteArray inbox_;
    bool open_ = true;
};

}  // namespace testing_support
