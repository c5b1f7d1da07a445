#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace util {

// Texts of the controller, the export file and the network modules are GBK byte strings.
// Characters that GBK cannot hold become "?".
QByteArray ToGbk(QStringView text);

// Decodes GBK bytes for display. A byte that does not start a well-formed character (a lone
// lead byte, a lead byte before an invalid trail byte, a lead byte cut off by the end) becomes
// U+FFFD and decoding goes on with the very next byte, so nothing that follows is lost.
QString FromGbk(QByteArrayView bytes);

}  // namespace util
