#include "chart/ChartTrace.h"

#include <algorithm>
#include <cmath>

namespace ChartTrace {

namespace {

// The rows of one pixel column gathered as they come, told by their lowest
// and highest value.
class TColumn {
public:
    bool IsEmpty() const { return m_low < 0; }
    int Index() const { return m_index; }
    void Start(int index, int row, double value)
    {
        m_index = index;
        m_low = m_high = row;
        m_lowValue = m_highValue = value;
    }
    void Add(int row, double value)
    {
        if (value < m_lowValue) {
            m_low = row;
            m_lowValue = value;
        }
        if (value > m_highValue) {
            m_high = row;
            m_highValue = value;
        }
    }
    // The column's points at the time of its first row, lowest and highest in
    // the order they came.
    void AppendTo(QList<QPointF>& line, double x)
    {
        if (IsEmpty())
            return;
        const bool lowFirst = m_low <= m_high;
        line.append(QPointF(x, lowFirst ? m_lowValue : m_highValue));
        if (m_low != m_high)
            line.append(QPointF(x, lowFirst ? m_highValue : m_lowValue));
        m_low = -1;
    }

private:
    int m_index = 0;
    int m_low = -1;
    int m_high = -1;
    double m_lowValue = 0;
    double m_highValue = 0;
};

QList<QList<QPointF>> RowByRow(const TSampleRing& ring, const TRequest& request, int first, int end)
{
    QList<QList<QPointF>> lines;
    QList<QPointF> line;
    for (int row = first; row < end; ++row) {
        const double x = ring.Time(row) - request.origin;
        if (request.steps && !line.isEmpty())
            line.append(QPointF(x, line.last().y()));
        line.append(QPointF(x, ring.Value(row, request.channel)));
        if (ring.GapAfter(row)) {
            lines.append(line);
            line.clear();
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QList<QList<QPointF>> ByColumn(const TSampleRing& ring, const TRequest& request, int first, int end)
{
    QList<QList<QPointF>> lines;
    QList<QPointF> line;
    const double perSecond = request.columns / (request.to - request.from);
    TColumn column;
    double columnTime = 0;
    for (int row = first; row < end; ++row) {
        const double time = ring.Time(row);
        const int index = int(std::floor((time - request.from) * perSecond));
        const double value = ring.Value(row, request.channel);
        if (!column.IsEmpty() && index != column.Index())
            column.AppendTo(line, columnTime - request.origin);
        if (column.IsEmpty()) {
            column.Start(index, row, value);
            columnTime = time;
        } else {
            column.Add(row, value);
        }
        if (ring.GapAfter(row)) {
            column.AppendTo(line, columnTime - request.origin);
            lines.append(line);
            line.clear();
        }
    }
    column.AppendTo(line, columnTime - request.origin);
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

QList<QList<QPointF>> Lines(const TSampleRing& ring, const TRequest& request)
{
    if (ring.IsEmpty() || request.to <= request.from)
        return {};
    const int first = std::max(0, ring.LowerBound(request.from) - 1);
    const int end = std::min(ring.Count(), ring.LowerBound(request.to) + 1);
    if (end - first <= std::max(1, request.columns))
        return RowByRow(ring, request, first, end);
    return ByColumn(ring, request, first, end);
}

} // namespace ChartTrace
