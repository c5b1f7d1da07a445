#pragma once

#include "controller_state.h"

#include <QByteArray>

namespace sim {

// An IF2 tag report: 20 bytes, length byte 0x14 first, the UID at 3-10, the time at 12-17 and
// the CRC-16 of bytes 0-17 at 18-19, low byte first. Bytes 1-2 and 11 are not read by the
// console; the simulator puts a report type (0x01 0x00) and the antenna number (1) there.
QByteArray If2TagReport(const Uid8& uid, const Clock6& time);

// Any IF2 frame: length byte, body, CRC-16 trailer; the length byte counts all three.
QByteArray If2Frame(const QByteArray& body);

}  // namespace sim
