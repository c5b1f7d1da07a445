#pragma once

#include "bridge/schedule.h"

#include <QString>

#include <optional>

namespace bridge {

// [records], and a gate's [gate.records] over it: the stored records collected into files.
struct RecordsConfig {
    Schedule schedule;
    QString format = QStringLiteral("csv");  // text, csv or jsonl, as gatectl writes them
    QString dir;                             // default <state_dir>/records
    bool deleteAfter = false;                // remove from the controller what was written
    std::optional<int> keepDays;             // older files of the gate's folder removed

    bool operator==(const RecordsConfig&) const = default;
};

// [clock]: the controllers' clocks set to this computer's.
struct ClockConfig {
    Schedule schedule;
    int maxDriftS = 2;
    bool requireHostSync = true;

    bool operator==(const ClockConfig&) const = default;
};

}  // namespace bridge
