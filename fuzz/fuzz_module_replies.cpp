// Replies of the serial-to-Ethernet modules: any datagram up to 8192 bytes. The search and
// parameter reply parsers stay inside the datagram, a search reply made by the module
// simulator from any names is read back as those names, and a parameter reply gives its value.
#include "core/netcfg/module_protocol.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"
#include "module_model.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kMaxDatagram = 8192;

QByteArray Without(QByteArray text, QByteArrayView forbidden) {
    for (const char c : forbidden) {
        text.replace(c, '_');
    }
    return text;
}

void CheckAnyDatagram(QByteArrayView datagram, int readNumber) {
    const netcfg::SearchReply reply = netcfg::ParseSearchReply(datagram);
    // The MAC and the tail may overlap in a malformed reply; the names split the tail.
    FUZZ_CHECK(reply.mac.size() < std::max<qsizetype>(datagram.size(), 1));
    FUZZ_CHECK(reply.userName.size() + reply.deviceName.size() <= datagram.size());
    FUZZ_CHECK(!reply.mac.contains('/'));
    FUZZ_CHECK(!reply.userName.contains('/'));

    const auto value = netcfg::TakeParameterReply(datagram, readNumber);
    if (value) {
        FUZZ_CHECK(value->size() + 3 <= datagram.size());
        FUZZ_CHECK(!value->contains('|'));
        FUZZ_CHECK(datagram.sliced(1).startsWith(*value));
    }
    (void)netcfg::IsAcknowledgement(datagram);
    (void)netcfg::RefusalText(datagram, util::TextTable::Source());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t n = std::min(size, kMaxDatagram);
    const auto copy = ExactCopy(data, n);
    const QByteArrayView datagram(reinterpret_cast<const char*>(copy.get()),
                                  static_cast<qsizetype>(n));
    const int readNumber = n > 0 ? copy[0] % 99 + 1 : 1;
    CheckAnyDatagram(datagram, readNumber);

    // The input's lines as MAC, address, user name and device name of a module.
    const QList<QByteArray> parts = datagram.toByteArray().split('\n');
    const auto part = [&](int i) { return i < parts.size() ? parts[i] : QByteArray(); };
    const QByteArray mac = Without(part(0), "/*");
    const QByteArray ip = Without(part(1), "/*");
    const QByteArray user = Without(part(2), "/");
    const QByteArray device = part(3);
    const modulesim::ModuleModel module(modulesim::DefaultModuleSettings(mac, ip, user, device));
    const QByteArray search = module.SearchReply();
    FUZZ_CHECK(netcfg::IsAcknowledgement(search));
    FUZZ_CHECK((netcfg::ParseSearchReply(search) == netcfg::SearchReply{mac, user, device}));

    // A parameter reply with any value that has no "|" in it.
    const QByteArray value = Without(datagram.toByteArray(), "|");
    const QByteArray parameter = "A" + value + '|' + QByteArray::number(readNumber);
    FUZZ_CHECK(netcfg::TakeParameterReply(parameter, readNumber) == value);
    return 0;
}
