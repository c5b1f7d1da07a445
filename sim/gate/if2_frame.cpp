#include "if2_frame.h"

#include "util/conversions.h"

namespace sim {

QByteArray If2Frame(const QByteArray& body) {
    QByteArray frame;
    frame.append(static_cast<char>((body.size() + 3) & 0xFF));
    frame.append(body);
    const auto crc = util::Crc16(frame);
    frame.append(static_cast<char>(crc[0]));
    frame.append(static_cast<char>(crc[1]));
    return frame;
}

QByteArray If2TagReport(const Uid8& uid, const Clock6& time) {
    QByteArray body;
    body.append('\x01');
    body.append('\x00');
    body.append(reinterpret_cast<const char*>(uid.data()), 8);
    body.append('\x01');
    body.append(reinterpret_cast<const char*>(time.data()), 6);
    return If2Frame(body);
}

}  // namespace sim
