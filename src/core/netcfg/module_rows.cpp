#include "core/netcfg/module_rows.h"

#include "core/netcfg/module_protocol.h"
#include "util/gbk_codec.h"

namespace netcfg {

const ModuleRow& ModuleRows::Append(const QByteArray& datagram, const QString& sender) {
    const SearchReply reply = ParseSearchReply(datagram);
    rows_.append(
        ModuleRow{static_cast<int>(rows_.size()) + 1, reply.mac, sender,
                  ModuleLabel(util::FromGbk(reply.userName), util::FromGbk(reply.deviceName))});
    macs_.insert(reply.mac);
    return rows_.back();
}

std::optional<ModuleRow> ModuleRows::At(qsizetype index) const {
    if (index < 0 || index >= rows_.size()) {
        return std::nullopt;
    }
    return rows_.at(index);
}

}  // namespace netcfg
