#pragma once
// The current date and time, behind an interface so that tests can set it.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

// A clock that stands still at the time it is given.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t = {}) : m_t(std::move(t)) {}
    QDateTime now() const override { return m_t; }
    void set(QDateTime t) { m_t = std::move(t); }

private:
    QDateTime m_t;
};
