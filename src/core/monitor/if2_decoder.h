#pragma once

#include <QByteArrayView>
#include <QStringList>

#include <cstdint>

#include "util/text_table.h"

namespace monitor {

// The display lines of one IF2 read. The bytes are cut into frames from the start, each frame
// being the L bytes that begin with its length byte L (or all that is left); a frame whose
// CRC-16 trailer fails gives "CRC校验错误", a valid 20-byte tag report a numbered line (count is
// the running report number, incremented per report), any other valid frame "提示:" and the hex
// of its first 10 bytes. A length byte of 0 cannot be cut: the rest of the read gives one
// "CRC校验错误" line. Nothing carries over from one read to the next.
QStringList DecodeIF2Read(QByteArrayView bytes, std::int32_t& count, const util::TextTable& texts);

}  // namespace monitor
