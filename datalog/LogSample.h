#pragma once

// One sample of the live values: when it was taken and one value per live channel.

#include <QDateTime>
#include <QVector>

struct TLogSample {
    qint64 monotonicMs = 0; // the clock's monotonic count, for elapsed times
    QDateTime time;         // the wall-clock time, for the time stamp
    QVector<double> values; // in the order of the channels
};
