#include "scripted_gate_library.h"

#include <algorithm>

namespace testing_support {

using gate::Byte;

namespace {

QByteArray bytesOf(const Byte* p, std::size_t n) {
    return QByteArray(reinterpret_cast<const char*>(p), static_cast<qsizetype>(n));
}

template <std::size_t N>
QByteArray bytesOf(const std::array<Byte, N>& a) {
    return bytesOf(a.data(), N);
}

// Copies a scripted byte output into a fixed array (never past its end).
template <std::size_t N>
void fill(const QVariantMap& out, const char* key, std::array<Byte, N>& target) {
    const auto it = out.find(QString::fromLatin1(key));
    if (it == out.end()) {
        return;
    }
    const QByteArray v = it->toByteArray();
    std::copy_n(v.constData(), std::min<std::size_t>(N, static_cast<std::size_t>(v.size())),
                reinterpret_cast<char*>(target.data()));
}

void fill(const QVariantMap& out, const char* key, Byte& target) {
    const auto it = out.find(QString::fromLatin1(key));
    if (it != out.end()) {
        target = static_cast<Byte>(it->toInt());
    }
}

void fill(const QVariantMap& out, const char* key, std::int32_t& target) {
    const auto it = out.find(QString::fromLatin1(key));
    if (it != out.end()) {
        target = it->toInt();
    }
}

// Copies a scripted body into the caller's buffer; length defaults to the body size.
void fillBody(const QVariantMap& out, const char* key, std::span<Byte> buffer, Byte* length) {
    const auto it = out.find(QString::fromLatin1(key));
    if (it != out.end()) {
        const QByteArray v = it->toByteArray();
        const auto n = std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(v.size()));
        std::copy_n(reinterpret_cast<const Byte*>(v.constData()), n, buffer.data());
        if (length != nullptr) {
            *length = static_cast<Byte>(v.size());
        }
    }
    if (length != nullptr) {
        fill(out, "length", *length);
    }
}

}  // namespace

void ScriptedGateLibrary::Script(const QString& op, std::int32_t result, QVariantMap outputs) {
    queued_[op].push_back(Reply{result, std::move(outputs)});
}

void ScriptedGateLibrary::SetDefault(const QString& op, std::int32_t result, QVariantMap outputs) {
    defaults_[op] = Reply{result, std::move(outputs)};
}

QList<ScriptedGateLibrary::Call> ScriptedGateLibrary::CallsOf(const QString& op) const {
    QList<Call> out;
    for (const Call& c : calls_) {
        if (c.op == op) {
            out.append(c);
        }
    }
    return out;
}

QStringList ScriptedGateLibrary::Ops() const {
    QStringList out;
    for (const Call& c : calls_) {
        out.append(c.op);
    }
    return out;
}

qsizetype ScriptedGateLibrary::Pending(const QString& op) const {
    const auto it = queued_.find(op);
    return it == queued_.end() ? 0 : static_cast<qsizetype>(it->size());
}

ScriptedGateLibrary::Reply ScriptedGateLibrary::Take(const QString& op, QVariantList args, Byte* a,
                                                     Byte* s) {
    if (a != nullptr) {
        args.prepend(static_cast<int>(*a));
    }
    calls_.append(Call{op, std::move(args)});
    Reply reply;
    auto it = queued_.find(op);
    if (it != queued_.end() && !it->empty()) {
        reply = it->front();
        it->pop_front();
    } else {
        reply = defaults_.value(op);
    }
    if (a != nullptr) {
        fill(reply.outputs, "a", *a);
    }
    if (s != nullptr) {
        fill(reply.outputs, "s", *s);
    }
    return reply;
}

std::int32_t ScriptedGateLibrary::OpenComPort(std::int32_t comNumber, Byte& a,
                                              std::int32_t& handle) {
    const Reply r = Take(QStringLiteral("OpenComPort"), {comNumber}, &a, nullptr);
    fill(r.outputs, "handle", handle);
    return r.result;
}

std::int32_t ScriptedGateLibrary::AutoOpenComPort(std::int32_t& foundPort, Byte& a,
                                                  std::int32_t& handle) {
    const Reply r = Take(QStringLiteral("AutoOpenComPort"), {}, &a, nullptr);
    fill(r.outputs, "foundPort", foundPort);
    fill(r.outputs, "handle", handle);
    return r.result;
}

std::int32_t ScriptedGateLibrary::CloseComPort() {
    return Take(QStringLiteral("CloseComPort"), {}, nullptr, nullptr).result;
}

std::int32_t ScriptedGateLibrary::OpenNetPort(std::int32_t ipPort, const QString& address, Byte& a,
                                              std::int32_t& handle) {
    const Reply r = Take(QStringLiteral("OpenNetPort"), {ipPort, address}, &a, nullptr);
    fill(r.outputs, "handle", handle);
    return r.result;
}

std::int32_t ScriptedGateLibrary::CloseNetPort(std::int32_t ipPort) {
    return Take(QStringLiteral("CloseNetPort"), {ipPort}, nullptr, nullptr).result;
}

std::int32_t ScriptedGateLibrary::GetControllerInfo(Byte& a, Byte& product, Byte& major,
                                                    Byte& minor, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetControllerInfo"), {h}, &a, &s);
    fill(r.outputs, "product", product);
    fill(r.outputs, "major", major);
    fill(r.outputs, "minor", minor);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetControllerDetailedInfo(Byte& a, Byte& product, Byte& major,
                                                            Byte& minor,
                                                            std::array<Byte, 4>& serial, Byte& s,
                                                            std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetControllerDetailedInfo"), {h}, &a, &s);
    fill(r.outputs, "product", product);
    fill(r.outputs, "major", major);
    fill(r.outputs, "minor", minor);
    fill(r.outputs, "serial", serial);
    return r.result;
}

std::int32_t ScriptedGateLibrary::ModeSwitch(Byte& a, Byte& mode, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("ModeSwitch"), {int(mode), h}, &a, &s);
    fill(r.outputs, "mode", mode);
    return r.result;
}

std::int32_t ScriptedGateLibrary::ClearControllerBuffer(Byte& a, Byte& s, std::int32_t h) {
    return Take(QStringLiteral("ClearControllerBuffer"), {h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::DeleteAllRecord(Byte& a, Byte& s, std::int32_t h) {
    return Take(QStringLiteral("DeleteAllRecord"), {h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::SetRelay(Byte& a, std::int32_t pullInTime100ms, Byte& s,
                                           std::int32_t h) {
    return Take(QStringLiteral("SetRelay"), {pullInTime100ms, h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::BuzzerAndLEDControl(Byte& a, Byte buzzerOn, Byte buzzerOff,
                                                      Byte beepCount, Byte ledOn, Byte ledOff,
                                                      Byte flashCount, Byte ledColour, Byte& s,
                                                      std::int32_t h) {
    return Take(QStringLiteral("BuzzerAndLEDControl"),
                {int(buzzerOn), int(buzzerOff), int(beepCount), int(ledOn), int(ledOff),
                 int(flashCount), int(ledColour), h},
                &a, &s)
        .result;
}

std::int32_t ScriptedGateLibrary::SetClock(Byte& a, gate::Clock6& clock, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("SetClock"), {bytesOf(clock), h}, &a, &s);
    fill(r.outputs, "clock", clock);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetClock(Byte& a, gate::Clock6& clock, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetClock"), {bytesOf(clock), h}, &a, &s);
    fill(r.outputs, "clock", clock);
    return r.result;
}

std::int32_t ScriptedGateLibrary::SetIR(Byte& a, Byte offOrOn, Byte& s, std::int32_t h) {
    return Take(QStringLiteral("SetIR"), {int(offOrOn), h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::GetIRStatus(Byte& a, Byte& status, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetIRStatus"), {h}, &a, &s);
    fill(r.outputs, "status", status);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetBGLogDataRecordingStatus(Byte& a, Byte& status, Byte& s,
                                                              std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetBGLogDataRecordingStatus"), {h}, &a, &s);
    fill(r.outputs, "status", status);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetControllerReaderConnectionStatus(Byte& a, Byte& link,
                                                                      Byte& rfField, Byte& s,
                                                                      std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetControllerReaderConnectionStatus"), {h}, &a, &s);
    fill(r.outputs, "link", link);
    fill(r.outputs, "rf", rfField);
    return r.result;
}

std::int32_t ScriptedGateLibrary::ConfigureController(Byte& a, Byte b0, Byte b1, Byte b2, Byte b3,
                                                      Byte b4, Byte b5, Byte b6, Byte b7, Byte& s,
                                                      std::int32_t h) {
    return Take(QStringLiteral("ConfigureController"),
                {int(b0), int(b1), int(b2), int(b3), int(b4), int(b5), int(b6), int(b7), h}, &a, &s)
        .result;
}

std::int32_t ScriptedGateLibrary::GetControllerConfig(Byte& a, Byte& b0, Byte& b1, Byte& b2,
                                                      Byte& b3, Byte& b4, Byte& b5, Byte& b6,
                                                      Byte& b7, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetControllerConfig"), {h}, &a, &s);
    std::array<Byte, 8> config{b0, b1, b2, b3, b4, b5, b6, b7};
    fill(r.outputs, "config", config);
    b0 = config[0];
    b1 = config[1];
    b2 = config[2];
    b3 = config[3];
    b4 = config[4];
    b5 = config[5];
    b6 = config[6];
    b7 = config[7];
    return r.result;
}

std::int32_t ScriptedGateLibrary::TagPersonCorrelation(Byte& a, Byte& control, Byte& lead,
                                                       Byte& lag, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("TagPersonCorrelation"),
                         {int(control), int(lead), int(lag), h}, &a, &s);
    fill(r.outputs, "control", control);
    fill(r.outputs, "lead", lead);
    fill(r.outputs, "lag", lag);
    return r.result;
}

std::int32_t ScriptedGateLibrary::ReadTagDataSetting(Byte& a, Byte& control, Byte& repeat,
                                                     Byte& startBlock, Byte& blockCount, Byte& s,
                                                     std::int32_t h) {
    const Reply r = Take(QStringLiteral("ReadTagDataSetting"),
                         {int(control), int(repeat), int(startBlock), int(blockCount), h}, &a, &s);
    fill(r.outputs, "control", control);
    fill(r.outputs, "repeat", repeat);
    fill(r.outputs, "startBlock", startBlock);
    fill(r.outputs, "blockCount", blockCount);
    return r.result;
}

std::int32_t ScriptedGateLibrary::SetControllerAddr(Byte& a, Byte writeOrRead, Byte newAddress,
                                                    Byte& s, std::int32_t h) {
    return Take(QStringLiteral("SetControllerAddr"), {int(writeOrRead), int(newAddress), h}, &a, &s)
        .result;
}

std::int32_t ScriptedGateLibrary::IRDirectionSetting(Byte& a, Byte& request, Byte& s,
                                                     std::int32_t h) {
    const Reply r = Take(QStringLiteral("IRDirectionSetting"), {int(request), h}, &a, &s);
    fill(r.outputs, "request", request);
    return r.result;
}

std::int32_t ScriptedGateLibrary::ControllerReaderConnectionBrokenAlarm(Byte& a, Byte& request,
                                                                        Byte& s, std::int32_t h) {
    const Reply r =
        Take(QStringLiteral("ControllerReaderConnectionBrokenAlarm"), {int(request), h}, &a, &s);
    fill(r.outputs, "request", request);
    return r.result;
}

std::int32_t ScriptedGateLibrary::SetBGLogDataStatus(Byte& a, Byte& offOrOn, Byte& s,
                                                     std::int32_t h) {
    const Reply r = Take(QStringLiteral("SetBGLogDataStatus"), {int(offOrOn), h}, &a, &s);
    fill(r.outputs, "value", offOrOn);
    return r.result;
}

std::int32_t ScriptedGateLibrary::SaveRestoreConfig(Byte& a, Byte saveOrRestore, Byte& s,
                                                    std::int32_t h) {
    return Take(QStringLiteral("SaveRestoreConfig"), {int(saveOrRestore), h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::SetAutoLoad(Byte& a, Byte enable, Byte& s, std::int32_t h) {
    return Take(QStringLiteral("SetAutoLoad"), {int(enable), h}, &a, &s).result;
}

std::int32_t ScriptedGateLibrary::SetAlarmMask(Byte& a, Byte mask,
                                               std::array<Byte, gate::kAlarmMaskReplySize>& reply,
                                               Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("SetAlarmMask"), {int(mask), h}, &a, &s);
    fill(r.outputs, "reply", reply);
    return r.result;
}

std::int32_t ScriptedGateLibrary::SetAlarmPattern(
    Byte& a, std::array<Byte, gate::kAlarmPatternSize>& pattern, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("SetAlarmPattern"), {bytesOf(pattern), h}, &a, &s);
    fill(r.outputs, "pattern", pattern);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetChannelMessage(Byte& a, std::span<Byte> buffer, Byte& length,
                                                    Byte& kind, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetChannelMessage"), {int(buffer.size()), h}, &a, &s);
    fillBody(r.outputs, "body", buffer, &length);
    fill(r.outputs, "kind", kind);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetEASMessage(Byte& a, std::span<Byte> buffer, Byte& length,
                                                Byte& kind, Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetEASMessage"), {int(buffer.size()), h}, &a, &s);
    fillBody(r.outputs, "body", buffer, &length);
    fill(r.outputs, "kind", kind);
    return r.result;
}

std::int32_t ScriptedGateLibrary::RetrieveEarliestRecord(Byte& a, std::span<Byte> buffer,
                                                         Byte& length, Byte& kind, Byte& s,
                                                         std::int32_t h) {
    const Reply r = Take(QStringLiteral("RetrieveEarliestRecord"), {int(buffer.size()), h}, &a, &s);
    fillBody(r.outputs, "body", buffer, &length);
    fill(r.outputs, "kind", kind);
    return r.result;
}

std::int32_t ScriptedGateLibrary::RetrieveRecordByIndex(Byte& a, std::int32_t index,
                                                        std::span<Byte> buffer, Byte& length,
                                                        Byte& kind, Byte& s, std::int32_t h) {
    const Reply r =
        Take(QStringLiteral("RetrieveRecordByIndex"), {index, int(buffer.size()), h}, &a, &s);
    fillBody(r.outputs, "body", buffer, &length);
    fill(r.outputs, "kind", kind);
    return r.result;
}

std::int32_t ScriptedGateLibrary::GetBGLogDataStatus(Byte& a, std::int32_t& count,
                                                     gate::Clock6& earliest, gate::Clock6& latest,
                                                     Byte& s, std::int32_t h) {
    const Reply r = Take(QStringLiteral("GetBGLogDataStatus"), {h}, &a, &s);
    fill(r.outputs, "count", count);
    fill(r.outputs, "earliest", earliest);
    fill(r.outputs, "latest", latest);
    return r.result;
}

std::int32_t ScriptedGateLibrary::Acknowledge(Byte& a, std::int32_t h) {
    return Take(QStringLiteral("Acknowledge"), {h}, &a, nullptr).result;
}

std::int32_t ScriptedGateLibrary::ReadTagData(Byte& a, gate::Uid8& uid, Byte startBlock,
                                              Byte blockCount, Byte blockLength,
                                              std::span<Byte> data, Byte& s, std::int32_t h) {
    const Reply r = Take(
        QStringLiteral("ReadTagData"),
        {bytesOf(uid), int(startBlock), int(blockCount), int(blockLength), int(data.size()), h}, &a,
        &s);
    fillBody(r.outputs, "data", data, nullptr);
    return r.result;
}

std::int32_t ScriptedGateLibrary::OpenIF2(std::int32_t comNumber) {
    return Take(QStringLiteral("OpenIF2"), {comNumber}, nullptr, nullptr).result;
}

std::int32_t ScriptedGateLibrary::CloseIF2(std::int32_t comNumber) {
    return Take(QStringLiteral("CloseIF2"), {comNumber}, nullptr, nullptr).result;
}

std::int32_t ScriptedGateLibrary::GetIF2Data(std::span<Byte> buffer, std::int32_t& count) {
    const Reply r = Take(QStringLiteral("GetIF2Data"), {int(buffer.size())}, nullptr, nullptr);
    Byte unused = 0;
    fillBody(r.outputs, "if2", buffer, &unused);
    const auto it = r.outputs.find(QStringLiteral("if2"));
    count = it == r.outputs.end()
                ? 0
                : static_cast<std::int32_t>(std::min<qsizetype>(
                      it->toByteArray().size(), static_cast<qsizetype>(buffer.size())));
    return r.result;
}

}  // namespace testing_support
