#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

struct mosquitto;
struct mosquitto_message;

namespace bridge {

// The bridge's connection to its broker through libmosquitto: its network thread connects,
// keeps the session alive and reconnects by itself (every second while the broker is away);
// QoS 1 messages not yet confirmed when the connection drops are sent again after it returns.
// The callbacks run on that network thread.
class MqttClient {
public:
    struct Options {
        QString host;
        int port = 1883;
        QString clientId;
        QString username;
        QString password;
        QString caFile;  // TLS when set
        int keepaliveS = 60;
        QString willTopic;  // published by the broker, retained, when the bridge vanishes
        QByteArray willPayload;
        QStringList subscriptions;  // subscribed (QoS 1) after every connect
    };
    struct Callbacks {
        std::function<void(bool connected, const QString& why)> connection;
        std::function<void(int mid)> published;  // the broker confirmed message mid
        std::function<void(const QString& topic, const QByteArray& payload)> message;
    };

    MqttClient(Options options, Callbacks callbacks);
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Starts the network thread; false and the reason when the client cannot be set up.
    bool Start(QString* error);
    // Publishes; the message id in *mid. False when it was not taken (not connected).
    bool Publish(const QString& topic, const QByteArray& payload, bool retain, int* mid);
    // Disconnects cleanly (no last will) and stops the network thread.
    void Stop();

private:
    static void OnConnect(mosquitto*, void* self, int rc);
    static void OnDisconnect(mosquitto*, void* self, int rc);
    static void OnPublish(mosquitto*, void* self, int mid);
    static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);

    Options options_;
    Callbacks callbacks_;
    mosquitto* mosq_ = nullptr;
    bool started_ = false;
};

}  // namespace bridge
