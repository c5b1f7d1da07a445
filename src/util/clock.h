#pragma once

#include <QDateTime>

namespace util {

// Source of the local time for status-bar stamps and export file names; tests inject a fixed
// one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until told otherwise.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t) : time_(std::move(t)) {}
    QDateTime now() const override { return time_; }
    void set(QDateTime t) { time_ = std::move(t); }

private:
    QDateTime time_;
};

}  // namespace util
