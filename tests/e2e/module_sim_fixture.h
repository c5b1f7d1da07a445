#pragma once

#include "module_model.h"
#include "module_server.h"

#include <QHostAddress>

#include <memory>

// One simulated module on 127.0.0.1 and a port the system picks.
struct LoopbackModule {
    explicit LoopbackModule(const QByteArray& mac, const QByteArray& user = "gate",
                            const QByteArray& device = "door")
        : model(modulesim::DefaultModuleSettings(mac, "127.0.0.1", user, device)), server(model) {
        listening = server.Listen(QHostAddress::LocalHost, 0);
    }
    modulesim::ModuleModel model;
    modulesim::ModuleServer server;
    bool listening = false;

    int CountReceived(const QByteArray& datagram) const {
        return static_cast<int>(model.Received().count(datagram));
    }
};
