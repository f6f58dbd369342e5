#include "datalog/SampleRing.h"

#include <algorithm>

namespace {
constexpr size_t FirstCapacity = 1024;
// Pauses seen before gaps are looked for.
constexpr int FewestPauses = 3;
// A gap lasts longer than this many sampling intervals.
constexpr double GapIntervals = 3;
} // namespace

TSampleRing::TSampleRing(int channels, double spanSeconds)
    : m_channels(channels), m_stride(size_t(channels) + 1), m_span(spanSeconds)
{
}

void TSampleRing::Append(double time, const double* values)
{
    if (m_count > 0) {
        time = std::max(time, LastTime());
        NotePause(time - LastTime(), time);
    }
    DropOlderThan(time - m_span);
    if (m_count == m_capacity)
        Grow();
    const size_t at = ((m_head + m_count) % m_capacity) * m_stride;
    m_data[at] = time;
    std::copy(values, values + m_channels, m_data.begin() + at + 1);
    ++m_count;
}

void TSampleRing::AddMarker(double time, const QString& note)
{
    m_markers.append({time, note});
}

void TSampleRing::Clear()
{
    m_head = 0;
    m_count = 0;
    m_markers.clear();
    m_gaps.clear();
    m_pauseCount = 0;
    m_gapLimit = Unlimited;
    m_nextGapCause = TSampleGap::Unknown;
}

// A pause past the limit is a gap; the others make the limit: three times the
// median of the recent pauses, which a few slow reads do not move.
void TSampleRing::NotePause(double pause, double time)
{
    if (pause > m_gapLimit) {
        m_gaps.append({LastTime(), time, m_nextGapCause});
        m_nextGapCause = TSampleGap::Unknown;
        return;
    }
    if (pause <= 0)
        return; // a marked row beside its sample
    m_pauses[m_pauseCount % RecentPauses] = pause;
    ++m_pauseCount;
    const int held = std::min(m_pauseCount, RecentPauses);
    if (held < FewestPauses)
        return;
    double sorted[RecentPauses];
    std::copy(m_pauses, m_pauses + held, sorted);
    std::nth_element(sorted, sorted + held / 2, sorted + held);
    m_gapLimit = GapIntervals * sorted[held / 2];
}

double TSampleRing::GapLimit() const
{
    return m_gapLimit;
}

bool TSampleRing::GapAfter(int row) const
{
    if (m_gaps.isEmpty() || row + 1 >= Count())
        return false;
    const double time = Time(row);
    const auto gap = std::lower_bound(m_gaps.cbegin(), m_gaps.cend(), time,
                                      [](const TSampleGap& g, double t) { return g.from < t; });
    return gap != m_gaps.cend() && gap->from == time && gap->to == Time(row + 1);
}

void TSampleRing::DropOlderThan(double time)
{
    while (m_count > 0 && Time(0) < time) {
        m_head = (m_head + 1) % m_capacity;
        --m_count;
    }
    while (!m_markers.isEmpty() && m_markers.first().time < time)
        m_markers.removeFirst();
    while (!m_gaps.isEmpty() && m_gaps.first().from < time)
        m_gaps.removeFirst();
}

// Doubles the rows, unrolling the ring so that the oldest row comes first.
void TSampleRing::Grow()
{
    const size_t capacity = m_capacity == 0 ? FirstCapacity : m_capacity * 2;
    std::vector<double> data(capacity * m_stride);
    for (size_t row = 0; row < m_count; ++row) {
        const auto from = m_data.begin() + Offset(int(row));
        std::copy(from, from + m_stride, data.begin() + row * m_stride);
    }
    m_data.swap(data);
    m_capacity = capacity;
    m_head = 0;
}

int TSampleRing::LowerBound(double time) const
{
    int low = 0;
    int high = Count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (Time(middle) < time)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int TSampleRing::Nearest(double time) const
{
    if (IsEmpty())
        return -1;
    const int after = LowerBound(time);
    if (after == 0)
        return 0;
    if (after == Count())
        return after - 1;
    return time - Time(after - 1) <= Time(after) - time ? after - 1 : after;
}

size_t TSampleRing::MemoryBytes() const
{
    size_t notes = 0;
    for (const TLogMarker& marker : m_markers)
        notes += sizeof(TLogMarker) + size_t(marker.note.capacity()) * sizeof(QChar);
    return m_data.capacity() * sizeof(double) + notes;
}
