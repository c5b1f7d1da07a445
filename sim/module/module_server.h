#pragma once

#include "module_model.h"

#include <QHostAddress>
#include <QObject>

class QUdpSocket;

namespace modulesim {

// Plays one module on a UDP port: every datagram goes to the model, its answer back to the
// sender (after the model's delay, if any).
class ModuleServer final : public QObject {
    Q_OBJECT
public:
    ModuleServer(ModuleModel& model, QObject* parent = nullptr);

    // Binds to address and port (0 lets the system pick); false on failure.
    bool Listen(const QHostAddress& address, quint16 port);
    quint16 Port() const;

Q_SIGNALS:
    // After the model has handled the datagram.
    void Received(const QByteArray& datagram, const QString& sender);
    void Answered(const QByteArray& answer);

private:
    void ReadPending();

    ModuleModel& model_;
    QUdpSocket* socket_;
};

}  // namespace modulesim
