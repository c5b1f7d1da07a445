#pragma once

// The controller's clock beside this computer's local time. The controller holds a two-digit
// year (2000 to 2099) and whole seconds, without a time zone: it keeps local time.

#include "gate/gate_library.h"

#include <QDateTime>

#include <optional>

namespace commands {

// The clock bytes of a local time (its year taken modulo 100).
gate::Clock6 ClockOfLocalTime(const QDateTime& time);

// The clock as a local time of 2000 to 2099; nothing when a field is impossible.
std::optional<QDateTime> LocalTimeOfClock(const gate::Clock6& clock);

// How many seconds the controller's clock is ahead of `now` (negative: behind), with `now` cut to
// whole seconds as the clock counts them; nothing when the clock is not a valid time.
std::optional<qint64> ClockDriftSeconds(const gate::Clock6& clock, const QDateTime& now);

}  // namespace commands
