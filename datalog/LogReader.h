#pragma once

// Reads a data log written by TLogWriter back into memory, for replay. The
// file must be such a log: the header of that format with a column for every
// live channel (columns may come in any order; others are ignored), and rows
// of numbers with times that do not go back. Anything else is refused with
// the reason and the line it was found on.

#include "datalog/LiveChannels.h"
#include "datalog/SampleRing.h"

#include <QDateTime>

struct TLogData {
    QDateTime start; // the time stamp of the first row
    TSampleRing samples{LiveChannel::Count};
};

namespace LogReader {
bool Read(const QString& fileName, TLogData& data, QString& error);
} // namespace LogReader
