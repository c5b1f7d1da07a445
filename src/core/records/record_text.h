#pragma once

#include "gate/gate_library.h"

#include <QString>

#include "util/text_table.h"

namespace records {

// "20yy-mm-dd hh:mm:ss " with one trailing space, each field zero-padded to two digits.
QString TimeText(const gate::Clock6& time);

// The 8 UID bytes as 16 upper-case hexadecimal digits, without and with a space between bytes.
QString UidText(const gate::Uid8& uid);
QString SpacedUidText(const gate::Uid8& uid);

// Direction of a stored passage, compared as a whole byte: 1 "正向", 2 "反向", 3 "方向不定",
// 4 "红外已关闭"; any other value gives an empty text.
QString DirectionText(gate::Byte passage, const util::TextTable& texts);

constexpr gate::Byte kInfraredOffPassage = 4;

}  // namespace records
