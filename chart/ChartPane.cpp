#include "chart/ChartPane.h"

#include "chart/ChartChannels.h"
#include "chart/ChartTrace.h"
#include "datalog/LiveChannels.h"

#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

namespace {

// The band scale's room above and below its values.
constexpr double BandMargin = 0.25;

// The chart's own margins around the plot area, and the gap between a scale's
// labels and the plot.
constexpr int Margin = 4;
constexpr int LabelGap = 4;
constexpr int MaxAxisRoom = 16;

// Labelled ticks of a value scale stand at least this many text lines apart.
constexpr double LinesPerTick = 2.0;
// The least height of a pane, in text lines: the time labels and a plot of
// four lines, and the legend when it is shown.
constexpr int LeastLines = 6;
constexpr int LegendLines = 3;

// A time label as wide as they come, for the room each takes.
const QString WidestTimeLabel = QStringLiteral("-0000 s");
const QString TimeLabelFormat = QStringLiteral("%.0f s");
// The label format of a hidden scale (see the constructor).
const QString HiddenLabelFormat = QStringLiteral(" ");

// Round steps of the time scale, in seconds: as many as fit across the pane.
double TimeStep(double seconds, int ticks)
{
    for (const double step : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1200.0, 1800.0}) {
        if (seconds / step <= ticks)
            return step;
    }
    return 3600;
}

// The smallest of 1, 2 and 5 times a power of ten that is at least `least`.
double RoundStep(double least)
{
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double mantissa : {1.0, 2.0, 5.0}) {
        if (mantissa * power >= least * (1 - 1e-9))
            return mantissa * power;
    }
    return 10 * power;
}

QFont SmallFont(const QWidget* widget)
{
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    return font;
}

// A scale's range and tick step. The scale makes an item and a label for each
// tick at once, so the step changes first when it grows and last when it
// shrinks: a wide range never meets the small step of before (a span widened
// from a minute to two hours with the minute's step made over a thousand
// ticks at once).
void SetScale(QValueAxis* axis, double min, double max, double step)
{
    const bool growing = step > axis->tickInterval();
    if (growing)
        axis->setTickInterval(step);
    if (axis->min() != min || axis->max() != max)
        axis->setRange(min, max);
    if (!growing && axis->tickInterval() != step)
        axis->setTickInterval(step);
}

// The unit in "Name [unit]".
QString UnitOf(const QString& label)
{
    const qsizetype open = label.lastIndexOf(u'[');
    const qsizetype close = label.lastIndexOf(u']');
    return open >= 0 && close > open ? label.mid(open + 1, close - open - 1) : QString();
}

} // namespace

TChartPane::TChartPane(const QList<int>& channels, const QStringList& labels, QWidget* parent)
    // The view owns the chart given to its constructor (a chart set later
    // would leave the view's own first chart behind).
    : QChartView(new QChart(), parent), m_channels(channels)
{
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setMinimumHeight((LeastLines + LegendLines) * QFontMetrics(SmallFont(this)).height());
    QChart* chart = this->chart();
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setFont(SmallFont(this));

    m_timeAxis = new QValueAxis(chart);
    m_timeAxis->setLabelFormat(TimeLabelFormat);
    m_timeAxis->setTickType(QValueAxis::TicksDynamic);
    m_timeAxis->setTickAnchor(0);
    m_timeAxis->setLabelsFont(SmallFont(this));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    // The pane writes the value labels itself (see DrawScales). Hidden labels
    // are still laid out as rich text whenever the range moves: a format
    // without the number gives them nothing to lay out.
    m_valueAxis = new QValueAxis(chart);
    m_valueAxis->setLabelsVisible(false);
    m_valueAxis->setLabelFormat(HiddenLabelFormat);
    m_valueAxis->setTickType(QValueAxis::TicksDynamic);
    m_valueAxis->setTickAnchor(0);
    chart->addAxis(m_valueAxis, Qt::AlignLeft);

    // The bands first, so that the values are drawn over them.
    QList<int> order = channels;
    std::stable_partition(order.begin(), order.end(),
                          [](int channel) { return ChartChannels::All().at(channel).band; });
    double lowest = INFINITY;
    for (const int channel : std::as_const(order)) {
        const TChartChannel& style = ChartChannels::All().at(channel);
        if (style.band && !m_bandAxis) {
            m_bandMax = channel == LiveChannel::LambdaBand ? LiveChannel::Rich : 3;
            m_bandAxis = new QValueAxis(chart);
            m_bandAxis->setLabelsVisible(false);
            m_bandAxis->setLabelFormat(HiddenLabelFormat);
            m_bandAxis->setRange(-BandMargin, m_bandMax + BandMargin);
            m_bandAxis->setTickType(QValueAxis::TicksDynamic);
            m_bandAxis->setTickAnchor(0);
            m_bandAxis->setTickInterval(1);
            m_bandAxis->setGridLineVisible(false);
            chart->addAxis(m_bandAxis, Qt::AlignRight);
        }
        if (!style.band)
            lowest = std::min(lowest, style.lowest);
        m_series.insert(channel, {AddSeries(channel)});
    }
    m_lowest = std::isfinite(lowest) ? lowest : -INFINITY;
    SetLabels(labels);
}

QLineSeries* TChartPane::AddSeries(int channel)
{
    const TChartChannel& style = ChartChannels::All().at(channel);
    auto* series = new QLineSeries(chart());
    // Thin cosmetic lines draw fastest: the raster engine draws them without
    // stroking the path first.
    QPen pen(style.colour, 1);
    pen.setCosmetic(true);
    series->setPen(pen);
    chart()->addSeries(series);
    series->attachAxis(m_timeAxis);
    series->attachAxis(style.band ? m_bandAxis : m_valueAxis);
    return series;
}

void TChartPane::SetLabels(const QStringList& labels)
{
    m_axisTitle.clear();
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it) {
        const QString label = labels.value(it.key());
        it.value().first()->setName(label);
        if (m_axisTitle.isEmpty() && !ChartChannels::All().at(it.key()).band)
            m_axisTitle = UnitOf(label);
    }
    UpdateMargins();
}

void TChartPane::SetBandNames(const QStringList& names)
{
    m_bandNames = names;
    UpdateMargins();
}

void TChartPane::SetGapTexts(const QStringList& texts)
{
    m_gapTexts = texts;
}

void TChartPane::SetReference(double value, const QString& label)
{
    m_reference = value;
    m_referenceLabel = label;
}

void TChartPane::SetChannelVisible(int channel, bool visible)
{
    for (QLineSeries* series : m_series.value(channel))
        series->setVisible(visible);
}

bool TChartPane::HasVisibleChannel() const
{
    for (const QList<QLineSeries*>& lines : m_series) {
        if (lines.first()->isVisible())
            return true;
    }
    return false;
}

void TChartPane::SetLegendVisible(bool visible)
{
    chart()->legend()->setVisible(visible);
    setMinimumHeight((LeastLines + (visible ? LegendLines : 0)) * QFontMetrics(SmallFont(this)).height());
}

void TChartPane::SetTimeLabelsVisible(bool visible)
{
    m_timeAxis->setLabelsVisible(visible);
    m_timeAxis->setLabelFormat(visible ? TimeLabelFormat : HiddenLabelFormat);
}

QMarginsF TChartPane::NaturalRoom() const
{
    // The pane's own labels, and the little room the toolkit's axes take for
    // their ticks (bounded: a layout not yet redone may show any figure).
    const QRectF area = chart()->plotArea();
    const QMargins margins = chart()->margins();
    const double axisLeft = std::clamp(area.left() - margins.left(), 0.0, double(MaxAxisRoom));
    const double axisRight = std::clamp(width() - area.right() - margins.right(), 0.0, double(MaxAxisRoom));
    return QMarginsF(Margin + m_labelRoom + axisLeft, 0, Margin + m_bandRoom + axisRight, 0);
}

void TChartPane::SetExtraRoom(double left, double right)
{
    // Whole pixels, so that the room found again next time is the same.
    const QMarginsF extra(std::round(left), 0, std::round(right), 0);
    if (extra == m_extra)
        return;
    m_extra = extra;
    UpdateMargins();
}

// The room of the scales' labels: the widest label of the value scale and the
// scale's title on the left, the widest band name on the right.
void TChartPane::UpdateMargins()
{
    const QFontMetrics metrics(SmallFont(this));
    int widest = 0;
    for (const QString& label : ValueLabels())
        widest = std::max(widest, metrics.horizontalAdvance(label));
    m_labelRoom = widest + LabelGap + (m_axisTitle.isEmpty() ? 0 : metrics.height());
    m_bandRoom = 0;
    if (m_bandAxis) {
        for (int value = 0; value <= m_bandMax; ++value)
            m_bandRoom = std::max(
                m_bandRoom, metrics.horizontalAdvance(m_bandNames.value(value, QString::number(value))));
        m_bandRoom += LabelGap;
    }
    // Half a line above and below, for the labels at the ends of the scales.
    const int halfLine = metrics.height() / 2 + 1;
    const QMargins margins(Margin + m_labelRoom + int(m_extra.left()), halfLine,
                           Margin + m_bandRoom + int(m_extra.right()), halfLine);
    if (chart()->margins() != margins)
        chart()->setMargins(margins);
}

void TChartPane::Draw(const TSampleRing& ring, double from, double to, double cursor, double origin)
{
    m_from = from;
    m_to = to > from ? to : from + 1;
    m_cursor = cursor;
    m_origin = origin;
    const int columns = std::max(1, int(chart()->plotArea().width()));
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it) {
        if (!it.value().first()->isVisible())
            continue;
        ChartTrace::TRequest request;
        request.channel = it.key();
        request.from = m_from;
        request.to = m_to;
        request.columns = columns;
        request.steps = ChartChannels::All().at(it.key()).band;
        request.origin = origin;
        DrawLines(it.key(), ChartTrace::Lines(ring, request));
    }
    FitTimeAxis();
    FitValueAxis(ring);
    m_markers.clear();
    for (const TLogMarker& marker : ring.Markers()) {
        if (marker.time >= m_from && marker.time <= m_to)
            m_markers << marker;
    }
    m_gaps.clear();
    for (const TSampleGap& gap : ring.Gaps()) {
        if (gap.to >= m_from && gap.from <= m_to)
            m_gaps << gap;
    }
    UpdateMargins();
    viewport()->update();
}

// The first series of a channel takes the first stretch; the stretches after
// gaps take series of their own, kept for the next drawing.
void TChartPane::DrawLines(int channel, const QList<QList<QPointF>>& lines)
{
    QList<QLineSeries*>& series = m_series[channel];
    while (series.size() < lines.size()) {
        QLineSeries* more = AddSeries(channel);
        for (QLegendMarker* marker : chart()->legend()->markers(more))
            marker->setVisible(false);
        series << more;
    }
    for (int line = 0; line < series.size(); ++line) {
        if (line < lines.size())
            series[line]->replace(lines.at(line));
        else if (series[line]->count() > 0)
            series[line]->clear();
    }
}

void TChartPane::FitTimeAxis()
{
    const QFontMetrics metrics(SmallFont(this));
    const int room = std::max(1, int(chart()->plotArea().width()));
    const int ticks = std::max(2, room / (metrics.horizontalAdvance(WidestTimeLabel) * 3 / 2));
    SetScale(m_timeAxis, m_from - m_origin, m_to - m_origin, TimeStep(m_to - m_from, ticks));
}

int TChartPane::PlotHeight() const
{
    const int height = int(chart()->plotArea().height());
    return height > 0 ? height : std::max(1, this->height() - 40);
}

// The left-hand scale spans the visible values of the visible channels on
// round steps, never below what the channels can take, with as many labelled
// ticks as the pane's height holds. It changes only when the values leave it
// or shrink well inside it, or when the pane's height changes the ticks.
void TChartPane::FitValueAxis(const TSampleRing& ring)
{
    const int first = std::max(0, ring.LowerBound(m_from) - 1);
    const int end = std::min(ring.Count(), ring.LowerBound(m_to) + 1);
    double low = INFINITY;
    double high = -INFINITY;
    for (auto it = m_series.cbegin(); it != m_series.cend(); ++it) {
        if (!it.value().first()->isVisible() || ChartChannels::All().at(it.key()).band)
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
    const double lineHeight = QFontMetrics(SmallFont(this)).height();
    const int ticks = std::max(2, int(PlotHeight() / (LinesPerTick * lineHeight)));
    const double min = m_valueAxis->min();
    const double max = m_valueAxis->max();
    const bool inside = low >= min && high <= max;
    const bool tooWide = (high - low) < 0.4 * (max - min);
    if (inside && !tooWide && ticks == m_valueTicks)
        return;
    const double room = 0.05 * (high - low);
    low = std::max(low - room, std::min(low, m_lowest));
    high += room;
    // Ends on round numbers may take a step more than the ticks: then a
    // longer step.
    double step = RoundStep((high - low) / ticks);
    while (std::ceil(high / step - 1e-9) - std::floor(low / step + 1e-9) > ticks)
        step = RoundStep(step * 1.01);
    m_valueStep = step;
    m_valueTicks = ticks;
    SetScale(m_valueAxis, std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step);
}

QString TChartPane::ValueText(double value) const
{
    const int decimals = m_valueStep >= 1 ? 0 : int(std::ceil(-std::log10(m_valueStep) - 1e-9));
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') && text.toDouble() == 0)
        text.remove(0, 1);
    return text;
}

QStringList TChartPane::ValueLabels() const
{
    QStringList labels;
    if (m_valueTicks == 0)
        return labels;
    const double min = m_valueAxis->min();
    const int steps = int(std::lround((m_valueAxis->max() - min) / m_valueStep));
    for (int step = 0; step <= steps; ++step)
        labels << ValueText(min + step * m_valueStep);
    return labels;
}

QFont TChartPane::LabelFont() const
{
    return SmallFont(this);
}

double TChartPane::ValueMin() const
{
    return m_valueAxis->min();
}

double TChartPane::ValueMax() const
{
    return m_valueAxis->max();
}

double TChartPane::TimeMin() const
{
    return m_timeAxis->min();
}

double TChartPane::TimeMax() const
{
    return m_timeAxis->max();
}

double TChartPane::XOf(double time) const
{
    const QRectF area = chart()->plotArea();
    return area.left() + (time - m_from) / (m_to - m_from) * area.width();
}

double TChartPane::YOf(double value) const
{
    const QRectF area = chart()->plotArea();
    const double span = m_valueAxis->max() - m_valueAxis->min();
    return area.bottom() - (value - m_valueAxis->min()) / (span > 0 ? span : 1) * area.height();
}

void TChartPane::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF area = chart()->plotArea();
    painter->save();
    painter->setFont(SmallFont(this));
    DrawGaps(painter, area);
    if (!std::isnan(m_reference) && m_reference >= m_valueAxis->min() && m_reference <= m_valueAxis->max()) {
        const double y = YOf(m_reference);
        painter->setPen(QPen(Qt::black, 1, Qt::DashDotLine));
        painter->drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        const QRectF box(area.left(), y - painter->fontMetrics().height(), area.width() - 4,
                         painter->fontMetrics().height());
        const QString label =
            painter->fontMetrics().elidedText(m_referenceLabel, Qt::ElideRight, int(box.width()));
        const QRect behind =
            painter->fontMetrics().boundingRect(box.toRect(), Qt::AlignRight | Qt::AlignBottom, label);
        painter->fillRect(behind, QColor(255, 255, 255, 200));
        painter->drawText(box, Qt::AlignRight | Qt::AlignBottom, label);
    }
    DrawMarkers(painter, area);
    if (m_cursor >= m_from && m_cursor <= m_to) {
        painter->setPen(QPen(Qt::black, 1));
        painter->drawLine(QPointF(XOf(m_cursor), area.top()), QPointF(XOf(m_cursor), area.bottom()));
    }
    DrawScales(painter, area);
    painter->restore();
}

void TChartPane::DrawGaps(QPainter* painter, const QRectF& area) const
{
    const QFontMetrics metrics = painter->fontMetrics();
    for (const TSampleGap& gap : m_gaps) {
        const double left = XOf(std::max(gap.from, m_from));
        const double right = XOf(std::min(gap.to, m_to));
        const QRectF shade(left, area.top(), right - left, area.height());
        painter->fillRect(shade, QColor(0x80, 0x80, 0x80, 0x40));
        const QString cause = gap.cause == TSampleGap::Unknown ? QString() : m_gapTexts.value(gap.cause);
        if (cause.isEmpty() || shade.width() < metrics.averageCharWidth() * 4)
            continue;
        painter->setPen(Qt::darkGray);
        painter->drawText(shade.adjusted(2, 2, -2, 0), Qt::AlignHCenter | Qt::AlignTop,
                          metrics.elidedText(cause, Qt::ElideRight, int(shade.width()) - 4));
    }
}

// Each marker is a dashed line with its note beside it at the top, cut short
// to the room before the next marker (the tooltip shows it whole).
void TChartPane::DrawMarkers(QPainter* painter, const QRectF& area) const
{
    const QFontMetrics metrics = painter->fontMetrics();
    for (int index = 0; index < m_markers.size(); ++index) {
        const double x = XOf(m_markers.at(index).time);
        painter->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        const double next = index + 1 < m_markers.size() ? XOf(m_markers.at(index + 1).time) : area.right();
        const int room = int(next - x) - 6;
        const QString note = m_markers.at(index).note;
        if (note.isEmpty() || room < metrics.averageCharWidth() * 3)
            continue;
        painter->setPen(Qt::black);
        painter->drawText(QPointF(x + 3, area.top() + metrics.ascent() + 1),
                          metrics.elidedText(note, Qt::ElideRight, room));
    }
}

// The value labels right of the scale's title, the band's names on the right;
// a pane too short for every band name names the ends alone.
void TChartPane::DrawScales(QPainter* painter, const QRectF& area) const
{
    const QFontMetrics metrics = painter->fontMetrics();
    const int line = metrics.height();
    painter->setPen(Qt::black);
    const QStringList labels = ValueLabels();
    double lastY = INFINITY;
    for (int step = 0; step < labels.size(); ++step) {
        const double y = YOf(m_valueAxis->min() + step * m_valueStep);
        if (lastY - y < line)
            continue; // a label would run into the one below it
        painter->drawText(QRectF(area.left() - m_labelRoom, y - line / 2.0, m_labelRoom - LabelGap, line),
                          Qt::AlignRight | Qt::AlignVCenter, labels.at(step));
        lastY = y;
    }
    if (!m_axisTitle.isEmpty()) {
        painter->save();
        painter->translate(area.left() - m_labelRoom, area.center().y());
        painter->rotate(-90);
        painter->drawText(QRectF(-area.height() / 2, 0, area.height(), line), Qt::AlignCenter,
                          metrics.elidedText(m_axisTitle, Qt::ElideRight, int(area.height())));
        painter->restore();
    }
    if (!m_bandAxis || !HasVisibleChannel())
        return;
    const double perValue = area.height() / (m_bandMax + 2 * BandMargin);
    for (int value = 0; value <= m_bandMax; ++value) {
        if (perValue < line && value != 0 && value != m_bandMax)
            continue;
        const double y = area.bottom() - (value + BandMargin) * perValue;
        painter->drawText(QRectF(area.right() + LabelGap, y - line / 2.0, m_bandRoom, line),
                          Qt::AlignLeft | Qt::AlignVCenter, m_bandNames.value(value, QString::number(value)));
    }
}

bool TChartPane::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QChartView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const double x = mapToScene(help->pos()).x();
    QString text;
    for (const TLogMarker& marker : std::as_const(m_markers)) {
        if (std::abs(XOf(marker.time) - x) <= 4)
            text = QStringLiteral("%1 s  %2").arg(marker.time - m_origin, 0, 'f', 1).arg(marker.note);
    }
    if (text.isEmpty()) {
        for (const TSampleGap& gap : std::as_const(m_gaps)) {
            if (x >= XOf(gap.from) && x <= XOf(gap.to) && gap.cause != TSampleGap::Unknown)
                text = m_gapTexts.value(gap.cause);
        }
    }
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
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
