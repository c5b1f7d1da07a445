#include "bridge/mqtt_client.h"

#include <mosquitto.h>

#include <mutex>

namespace bridge {

namespace {

constexpr int kQos = 1;

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString ErrorText(int rc) {
    return QString::fromUtf8(mosquitto_strerror(rc));
}

}  // namespace

MqttClient::MqttClient(Options options, Callbacks callbacks)
    : options_(std::move(options)), callbacks_(std::move(callbacks)) {}

MqttClient::~MqttClient() {
    Stop();
    if (mosq_ != nullptr) {
        mosquitto_destroy(mosq_);
    }
}

bool MqttClient::Start(QString* error) {
    InitLibraryOnce();
    mosq_ = mosquitto_new(options_.clientId.toUtf8().constData(), true, this);
    if (mosq_ == nullptr) {
        *error = QStringLiteral("cannot create the MQTT client");
        return false;
    }
    mosquitto_connect_callback_set(mosq_, &MqttClient::OnConnect);
    mosquitto_disconnect_callback_set(mosq_, &MqttClient::OnDisconnect);
    mosquitto_publish_callback_set(mosq_, &MqttClient::OnPublish);
    mosquitto_message_callback_set(mosq_, &MqttClient::OnMessage);
    mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
    mosquitto_max_inflight_messages_set(mosq_, 100);
    int rc = MOSQ_ERR_SUCCESS;
    const auto failed = [&](const QString& what) {
        *error = what + QStringLiteral(": ") + ErrorText(rc);
        return false;
    };
    if (!options_.willTopic.isEmpty()) {
        rc = mosquitto_will_set(mosq_, options_.willTopic.toUtf8().constData(),
                                static_cast<int>(options_.willPayload.size()),
                                options_.willPayload.constData(), kQos, true);
        if (rc != MOSQ_ERR_SUCCESS) {
            return failed(QStringLiteral("cannot set the last will"));
        }
    }
    if (!options_.username.isEmpty()) {
        rc = mosquitto_username_pw_set(
            mosq_, options_.username.toUtf8().constData(),
            options_.password.isEmpty() ? nullptr : options_.password.toUtf8().constData());
        if (rc != MOSQ_ERR_SUCCESS) {
            return failed(QStringLiteral("cannot set the user name"));
        }
    }
    if (!options_.caFile.isEmpty()) {
        rc = mosquitto_tls_set(mosq_, options_.caFile.toUtf8().constData(), nullptr, nullptr,
                               nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            return failed(QStringLiteral("cannot use %1").arg(options_.caFile));
        }
    }
    // An unreachable broker is not an error here: the network thread keeps trying.
    rc = mosquitto_connect_async(mosq_, options_.host.toUtf8().constData(), options_.port,
                                 options_.keepaliveS);
    if (rc != MOSQ_ERR_SUCCESS && rc != MOSQ_ERR_ERRNO) {
        return failed(
            QStringLiteral("cannot connect to %1:%2").arg(options_.host).arg(options_.port));
    }
    rc = mosquitto_loop_start(mosq_);
    if (rc != MOSQ_ERR_SUCCESS) {
        return failed(QStringLiteral("cannot start the MQTT thread"));
    }
    started_ = true;
    return true;
}

bool MqttClient::Publish(const QString& topic, const QByteArray& payload, bool retain, int* mid) {
    const int rc =
        mosquitto_publish(mosq_, mid, topic.toUtf8().constData(), static_cast<int>(payload.size()),
                          payload.constData(), kQos, retain);
    return rc == MOSQ_ERR_SUCCESS;
}

void MqttClient::Stop() {
    if (!started_) {
        return;
    }
    started_ = false;
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, false);
}

void MqttClient::OnConnect(mosquitto* mosq, void* self, int rc) {
    auto* c = static_cast<MqttClient*>(self);
    if (rc == 0) {
        for (const QString& topic : std::as_const(c->options_.subscriptions)) {
            mosquitto_subscribe(mosq, nullptr, topic.toUtf8().constData(), kQos);
        }
    }
    if (c->callbacks_.connection) {
        c->callbacks_.connection(
            rc == 0, rc == 0 ? QString() : QString::fromUtf8(mosquitto_connack_string(rc)));
    }
}

void MqttClient::OnDisconnect(mosquitto*, void* self, int rc) {
    auto* c = static_cast<MqttClient*>(self);
    if (c->callbacks_.connection) {
        c->callbacks_.connection(
            false, rc == 0 ? QStringLiteral("disconnected") : QStringLiteral("connection lost"));
    }
}

void MqttClient::OnPublish(mosquitto*, void* self, int mid) {
    auto* c = static_cast<MqttClient*>(self);
    if (c->callbacks_.published) {
        c->callbacks_.published(mid);
    }
}

void MqttClient::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* c = static_cast<MqttClient*>(self);
    if (c->callbacks_.message && message != nullptr) {
        c->callbacks_.message(
            QString::fromUtf8(message->topic),
            QByteArray(static_cast<const char*>(message->payload), message->payloadlen));
    }
}

}  // namespace bridge
