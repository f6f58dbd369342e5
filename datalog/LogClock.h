#pragma once

// The clock samples are stamped with: a monotonic millisecond count for the
// elapsed time, and the wall-clock time for the time stamp. Tests set their
// own, so that seconds of recording pass without waiting.

#include <QDateTime>
#include <QElapsedTimer>

class TLogClock {
public:
    virtual ~TLogClock() = default;
    virtual qint64 MonotonicMs() const = 0;
    virtual QDateTime Now() const = 0;
};

// The system's clocks.
class TSystemClock : public TLogClock {
public:
    TSystemClock();
    qint64 MonotonicMs() const override;
    QDateTime Now() const override;

private:
    QElapsedTimer m_timer;
};
