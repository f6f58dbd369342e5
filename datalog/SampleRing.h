#pragma once

// TSampleRing holds samples in memory: a time in seconds and one value per
// channel, in time order, with the marked moments and their notes. A ring with
// a span drops what is older than the span before the newest sample (the live
// chart keeps 30 minutes); one without keeps everything (a log opened for
// replay). Rows live in one flat circular array, so appending takes no
// allocation once the ring has grown to its span.
//
// A pause between two rows longer than three of the recent sampling intervals
// is a gap: nothing was read then, so whoever draws or judges the rows breaks
// there instead of joining the row before to the row after. The cause of the
// next gap may be told beforehand (the link went down, the chart was closed).

#include <QList>
#include <QString>
#include <limits>
#include <vector>

struct TLogMarker {
    double time = 0;
    QString note;
};

struct TSampleGap {
    enum Cause { Unknown, Disconnected, NotWatched };
    double from = 0; // the time of the last row before it
    double to = 0;   // the time of the first row after it
    Cause cause = Unknown;
};

class TSampleRing {
public:
    static constexpr double Unlimited = std::numeric_limits<double>::infinity();

    TSampleRing(int channels, double spanSeconds = Unlimited);

    int Channels() const { return m_channels; }
    double Span() const { return m_span; }
    int Count() const { return int(m_count); }
    bool IsEmpty() const { return m_count == 0; }

    // Appends a row of Channels() values; a time before the newest row's is
    // taken as the newest row's.
    void Append(double time, const double* values);
    void AddMarker(double time, const QString& note);
    // The cause of the next gap, should one come before the cause is taken back
    // with Unknown.
    void SetNextGapCause(TSampleGap::Cause cause) { m_nextGapCause = cause; }
    void Clear();

    double Time(int row) const { return m_data[Offset(row)]; }
    double Value(int row, int channel) const { return m_data[Offset(row) + 1 + channel]; }
    double FirstTime() const { return Time(0); }
    double LastTime() const { return Time(Count() - 1); }
    // The first row at or after time (Count() when there is none).
    int LowerBound(double time) const;
    // The row nearest to time; -1 for an empty ring.
    int Nearest(double time) const;
    const QList<TLogMarker>& Markers() const { return m_markers; }
    const QList<TSampleGap>& Gaps() const { return m_gaps; }
    // Whether a gap lies between the row and the next one.
    bool GapAfter(int row) const;
    // The longest pause between two rows that is no gap yet (infinite until
    // a few intervals have been seen).
    double GapLimit() const;

    // The bytes the ring holds on the heap.
    size_t MemoryBytes() const;

private:
    size_t Offset(int row) const { return ((m_head + size_t(row)) % m_capacity) * m_stride; }
    void Grow();
    void DropOlderThan(double time);
    void NotePause(double pause, double time);

    // The recent pauses between rows that were no gaps, oldest overwritten.
    static constexpr int RecentPauses = 15;

    int m_channels;
    size_t m_stride;
    double m_span;
    std::vector<double> m_data;
    size_t m_capacity = 0; // rows
    size_t m_head = 0;     // the oldest row's slot
    size_t m_count = 0;
    QList<TLogMarker> m_markers;
    QList<TSampleGap> m_gaps;
    TSampleGap::Cause m_nextGapCause = TSampleGap::Unknown;
    double m_pauses[RecentPauses] = {};
    int m_pauseCount = 0;
    double m_gapLimit = Unlimited;
};
