#pragma once

// A clock for tests: it stands still until the test moves it.

#include "datalog/LogClock.h"

#include <QTimeZone>

class ManualClock : public TLogClock {
public:
    explicit ManualClock(const QDateTime& start = QDateTime(QDate(2026, 3, 1), QTime(9, 30), QTimeZone(3600)))
        : m_start(start)
    {
    }
    qint64 MonotonicMs() const override { return m_ms; }
    QDateTime Now() const override { return m_start.addMSecs(m_ms); }
    void Advance(qint64 ms) { m_ms += ms; }

private:
    QDateTime m_start;
    qint64 m_ms = 0;
};
