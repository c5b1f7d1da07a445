#include "core/netcfg/module_protocol.h"

#include "util/result_text.h"

namespace netcfg {

QByteArray IdentifyCommand() {
    return QByteArrayLiteral("X");
}

QByteArray FlashCommand() {
    return QByteArrayLiteral("B");
}

QByteArray NameCommand(QByteArrayView mac) {
    return QByteArray("W") + mac;
}

QByteArray OpenCommand(QByteArrayView mac) {
    return QByteArray("L") + mac;
}

QByteArray QueryCommand(const ParameterCode& p) {
    return QByteArray("G") + p.code + '|' + QByteArray::number(p.readNumber);
}

QByteArray SetCommand(QByteArrayView code, QByteArrayView value, int number) {
    return QByteArray("S") + code + value + '|' + QByteArray::number(number);
}

QByteArray EndCommand() {
    return QByteArrayLiteral("E");
}

QByteArray EndChangeIpCommand() {
    return QByteArrayLiteral("E|35");
}

bool IsAcknowledgement(QByteArrayView datagram) {
    return !datagram.isEmpty() && datagram.front() == 'A';
}

QString RefusalText(QByteArrayView datagram, const util::TextTable& texts) {
    if (datagram.isEmpty() || IsAcknowledgement(datagram)) {
        return {};
    }
    const QChar letter = QChar::fromLatin1(datagram.front());
    return util::ReplyKindText(QStringView(&letter, 1), texts);
}

SearchReply ParseSearchReply(QByteArrayView datagram) {
    SearchReply reply;
    const qsizetype slash = datagram.indexOf('/');
    if (slash > 0) {
        reply.mac = datagram.sliced(1, slash - 1).toByteArray();
    }
    // The tail starts 8 positions after the first "*" (at position 8 when there is none).
    const qsizetype star = datagram.indexOf('*');
    const qsizetype tailStart = star + 8;
    const QByteArrayView tail =
        tailStart < datagram.size() ? datagram.sliced(tailStart) : QByteArrayView();
    const qsizetype nameSlash = tail.indexOf('/');
    if (nameSlash < 0) {
        reply.deviceName = tail.toByteArray();
    } else {
        reply.userName = tail.first(nameSlash).toByteArray();
        reply.deviceName = tail.sliced(nameSlash + 1).toByteArray();
    }
    return reply;
}

std::optional<QByteArray> TakeParameterReply(QByteArrayView datagram, int readNumber) {
    const qsizetype bar = datagram.indexOf('|');
    if (bar < 1) {
        return std::nullopt;
    }
    const qsizetype digits = readNumber >= 10 ? 2 : 1;
    const QByteArrayView number =
        datagram.sliced(bar + 1).first(std::min(digits, datagram.size() - bar - 1));
    if (number != QByteArray::number(readNumber)) {
        return std::nullopt;
    }
    return datagram.sliced(1, bar - 1).toByteArray();
}

QString ModuleLabel(const QString& userName, const QString& deviceName) {
    if ((userName.isEmpty() && deviceName.isEmpty()) || deviceName == u"/") {
        return {};
    }
    return userName + u'/' + deviceName;
}

}  // namespace netcfg
