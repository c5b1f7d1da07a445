#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace netcfg {

// The last datagram handled and its sender's address (LastReply and LastReplySender). A newer
// datagram replaces the older one; waits wake up on Stored().
class ReplySlot final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void Store(const QByteArray& datagram, const QString& sender) {
        LastReply = datagram;
        LastReplySender = sender;
        Q_EMIT Stored();
    }
    void Clear() {
        LastReply.clear();
        LastReplySender.clear();
    }

    QByteArray LastReply;
    QString LastReplySender;

Q_SIGNALS:
    void Stored();
};

}  // namespace netcfg
