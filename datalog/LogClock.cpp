#include "datalog/LogClock.h"

TSystemClock::TSystemClock()
{
    m_timer.start();
}

qint64 TSystemClock::MonotonicMs() const
{
    return m_timer.elapsed();
}

QDateTime TSystemClock::Now() const
{
    return QDateTime::currentDateTime();
}
