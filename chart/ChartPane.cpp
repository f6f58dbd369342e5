#include "chart/ChartPane.h"

#include "chart/ChartChannels.h"

#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <cmath>

namespace {

// The scales of the bands: lambda 0-2, TPS 0-3, with a little room.
constexpr double BandMargin = 0.25;
constexpr int MaxBand = 3;

// The chart's own margins around the plot area.
constexpr int Margin = 4;

// Round steps of the time scale, in seconds: about eight over the visible window.
double TimeStep(double seconds)
{
    for (const double step : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0}) {
        if (seconds / step <= 10)
            return step;
    }
    return 1800;
}

QFont SmallFont(const QWidget* widget)
{
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    return font;
}

} // namespace

TChartPane::TChartPane(const QList<int>& channels, const QStringList& labels, QWidget* parent)
    // The view owns the chart given to its constructor (a chart set later
    // would leave the view's own first chart behind).
    : QChartView(new QChart(), parent), m_channels(channels)
{
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    QChart* chart = this->chart();
    chart->setMargins(QMargins(Margin, 0, Margin, 0));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setFont(SmallFont(this));

    m_timeAxis = new QValueAxis(chart);
    m_timeAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_timeAxis->setTickType(QValueAxis::TicksDynamic);
    m_timeAxis->setTickAnchor(0);
    m_timeAxis->setLabelsFont(SmallFont(this));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_valueAxis = new QValueAxis(chart);
    m_valueAxis->setLabelsFont(SmallFont(this));
    chart->addAxis(m_valueAxis, Qt::AlignLeft);

    for (const int channel : channels) {
        const TChartChannel& style = ChartChannels::All().at(channel);
        auto* series = new QLineSeries(chart);
        QPen pen(style.colour, 1); // thin lines draw fastest
        series->setPen(pen);
        chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        if (style.band) {
            if (!m_bandAxis) {
                m_bandAxis = new QValueAxis(chart);
                m_bandAxis->setLabelsFont(SmallFont(this));
                m_bandAxis->setLabelFormat(QStringLiteral("%.0f"));
                m_bandAxis->setRange(-BandMargin, MaxBand + BandMargin);
                m_bandAxis->setTickType(QValueAxis::TicksDynamic);
                m_bandAxis->setTickAnchor(0);
                m_bandAxis->setTickInterval(1);
                m_bandAxis->setGridLineVisible(false);
                chart->addAxis(m_bandAxis, Qt::AlignRight);
            }
            series->attachAxis(m_bandAxis);
        } else {
            series->attachAxis(m_valueAxis);
        }
        m_series.insert(channel, series);
    }
    SetLabels(labels);
}

void TChartPane::SetLabels(const QStringList& labels)
{
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it)
        it.value()->setName(labels.value(it.key()));
}

void TChartPane::SetChannelVisible(int channel, bool visible)
{
    if (QLineSeries* series = m_series.value(channel))
        series->setVisible(visible);
}

bool TChartPane::HasVisibleChannel() const
{
    for (const QLineSeries* series : m_series) {
        if (series->isVisible())
            return true;
    }
    return false;
}

void TChartPane::SetTimeLabelsVisible(bool visible)
{
    m_timeAxis->setLabelsVisible(visible);
}

QMarginsF TChartPane::NaturalRoom() const
{
    const QRectF area = chart()->plotArea();
    return QMarginsF(area.left() - m_extra.left(), 0, width() - area.right() - m_extra.right(), 0);
}

void TChartPane::SetExtraRoom(double left, double right)
{
    // Whole pixels, so that the room found again next time is the same.
    const QMarginsF extra(std::round(left), 0, std::round(right), 0);
    if (extra == m_extra)
        return;
    m_extra = extra;
    chart()->setMargins(QMargins(Margin + int(extra.left()), 0, Margin + int(extra.right()), 0));
}

void TChartPane::Draw(const TSampleRing& ring, double from, double to, double cursor, double origin)
{
    m_from = from;
    m_to = to > from ? to : from + 1;
    m_cursor = cursor;
    m_origin = origin;
    // One row either side, so that the lines reach the edges.
    const int first = std::max(0, ring.LowerBound(from) - 1);
    const int end = std::min(ring.Count(), ring.LowerBound(to) + 1);
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it) {
        QLineSeries* series = it.value();
        if (series->isVisible())
            series->replace(Points(ring, it.key(), first, end, ChartChannels::All().at(it.key()).band));
    }
    if (m_timeAxis->min() != m_from - origin || m_timeAxis->max() != m_to - origin) {
        m_timeAxis->setRange(m_from - origin, m_to - origin);
        m_timeAxis->setTickInterval(TimeStep(m_to - m_from));
    }
    FitValueAxis(ring, first, end);
    m_markers.clear();
    for (const TLogMarker& marker : ring.Markers()) {
        if (marker.time >= from && marker.time <= to)
            m_markers << marker.time;
    }
    viewport()->update();
}

QList<QPointF> TChartPane::Points(const TSampleRing& ring, int channel, int first, int end, bool steps) const
{
    QList<QPointF> points;
    const int count = end - first;
    // A column is two pixels wide: its lowest and highest value, one point a pixel.
    const int columns = std::max(1, int(chart()->plotArea().width()) / 2);
    if (count <= 2 * columns) {
        points.reserve(steps ? 2 * count : count);
        for (int row = first; row < end; ++row) {
            if (steps && row > first)
                points.append(QPointF(ring.Time(row) - m_origin, ring.Value(row - 1, channel)));
            points.append(QPointF(ring.Time(row) - m_origin, ring.Value(row, channel)));
        }
        return points;
    }
    // The lowest and highest value of each column, in the order they came.
    const double perColumn = double(count) / columns;
    points.reserve(2 * columns);
    for (int column = 0; column < columns; ++column) {
        const int from = first + int(column * perColumn);
        const int to = std::min(end, first + int((column + 1) * perColumn));
        if (from >= to)
            continue;
        int low = from;
        int high = from;
        for (int row = from + 1; row < to; ++row) {
            if (ring.Value(row, channel) < ring.Value(low, channel))
                low = row;
            if (ring.Value(row, channel) > ring.Value(high, channel))
                high = row;
        }
        const int a = std::min(low, high);
        const int b = std::max(low, high);
        points.append(QPointF(ring.Time(a) - m_origin, ring.Value(a, channel)));
        if (b != a)
            points.append(QPointF(ring.Time(b) - m_origin, ring.Value(b, channel)));
    }
    return points;
}

// The left-hand scale spans the visible values of the visible channels, on
// round numbers; it changes only when they leave it or shrink well inside it.
void TChartPane::FitValueAxis(const TSampleRing& ring, int first, int end)
{
    double low = INFINITY;
    double high = -INFINITY;
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it) {
        if (!it.value()->isVisible() || ChartChannels::All().at(it.key()).band)
            continue;
        for (int row = first; row < end; ++row) {
            low = std::min(low, ring.Value(row, it.key()));
            high = std::max(high, ring.Value(row, it.key()));
        }
    }
    if (!std::isfinite(low))
        return;
    if (high - low < 1e-9) {
        low -= 1;
        high += 1;
    }
    const double min = m_valueAxis->min();
    const double max = m_valueAxis->max();
    const bool inside = low >= min && high <= max;
    const bool tooWide = (high - low) < 0.4 * (max - min);
    if (inside && !tooWide)
        return;
    const double room = 0.05 * (high - low);
    m_valueAxis->setRange(low - room, high + room);
    m_valueAxis->applyNiceNumbers();
    const double range = m_valueAxis->max() - m_valueAxis->min();
    m_valueAxis->setLabelFormat(range > 20 ? QStringLiteral("%.0f")
                                : range > 2 ? QStringLiteral("%.1f")
                                            : QStringLiteral("%.2f"));
}

double TChartPane::XOf(double time) const
{
    const QRectF area = chart()->plotArea();
    return area.left() + (time - m_from) / (m_to - m_from) * area.width();
}

void TChartPane::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF area = chart()->plotArea();
    painter->save();
    painter->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    for (const double time : std::as_const(m_markers))
        painter->drawLine(QPointF(XOf(time), area.top()), QPointF(XOf(time), area.bottom()));
    if (m_cursor >= m_from && m_cursor <= m_to) {
        painter->setPen(QPen(Qt::black, 1));
        painter->drawLine(QPointF(XOf(m_cursor), area.top()), QPointF(XOf(m_cursor), area.bottom()));
    }
    painter->restore();
}

void TChartPane::mousePressEvent(QMouseEvent* event)
{
    const QRectF area = chart()->plotArea();
    const double x = mapToScene(event->position().toPoint()).x();
    if (event->button() == Qt::LeftButton && area.width() > 0 && x >= area.left() && x <= area.right())
        emit Clicked(m_from + (x - area.left()) / area.width() * (m_to - m_from));
    event->accept();
}

void TChartPane::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        emit WheelTurned(steps);
    event->accept();
}
