#include "core/records/record_text.h"

#include "util/conversions.h"
#include "util/event_text.h"

namespace records {

QString TimeText(const gate::Clock6& time) {
    return util::EventTimeText(time.data());
}

QString UidText(const gate::Uid8& uid) {
    return util::BytesToHex(QByteArrayView(reinterpret_cast<const char*>(uid.data()),
                                           static_cast<qsizetype>(uid.size())));
}

QString SpacedUidText(const gate::Uid8& uid) {
    return util::SpacedHexText(QByteArrayView(reinterpret_cast<const char*>(uid.data()),
                                              static_cast<qsizetype>(uid.size())));
}

// A stored record compares its passage byte as a whole.
QString DirectionText(gate::Byte passage, const util::TextTable& texts) {
    return util::DirectionText(passage, texts);
}

}  // namespace records
