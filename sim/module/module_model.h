#pragma once

#include "core/netcfg/module_settings.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QSet>

#include <optional>

namespace modulesim {

// Switches that make the simulated module misbehave for tests.
struct ModuleSwitches {
    bool silent = false;             // answers nothing at all
    QSet<QByteArray> silentOn;       // parameter codes whose queries get no answer
    QSet<QByteArray> wrongNumberOn;  // parameter codes answered with another number
    char refuseWith = 0;             // 'C', 'R', 'D' or 'F': every answer is that letter
    int delayMs = 0;                 // every answer goes out this much later
};

// One serial-to-Ethernet module on the text protocol: it answers "X" and "B" with its search
// reply, "W", "L" and "E" with "A" when they address it, queries with parameter replies, and
// keeps the sets of a write when the write is closed with "E".
class ModuleModel {
public:
    explicit ModuleModel(netcfg::ModuleSettings settings, ModuleSwitches switches = {});

    // The answer to one datagram, or nothing.
    std::optional<QByteArray> Handle(const QByteArray& datagram);

    QByteArray SearchReply() const;
    const netcfg::ModuleSettings& Settings() const { return settings_; }
    ModuleSwitches& Switches() { return switches_; }
    const QByteArrayList& Received() const { return received_; }
    int FlashCount() const { return flashes_; }
    // "CODE=value" for every setting applied by a closed write, in order.
    const QByteArrayList& Applied() const { return applied_; }

private:
    enum class Naming { None, Me, Other };

    std::optional<QByteArray> Answer(const QByteArray& datagram);
    std::optional<QByteArray> Query(QByteArrayView body);
    std::optional<QByteArray> Set(QByteArrayView body);
    std::optional<QByteArray> End();

    netcfg::ModuleSettings settings_;
    ModuleSwitches switches_;
    Naming naming_ = Naming::None;
    bool open_ = false;
    QList<QPair<QByteArray, QByteArray>> staged_;
    QByteArrayList received_;
    QByteArrayList applied_;
    int flashes_ = 0;
};

// Factory settings of a simulated module with this MAC and these names.
netcfg::ModuleSettings DefaultModuleSettings(const QByteArray& mac, const QByteArray& ip,
                                             const QByteArray& userName,
                                             const QByteArray& deviceName);

}  // namespace modulesim
