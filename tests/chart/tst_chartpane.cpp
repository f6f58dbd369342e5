// The chart's drawing without a unit: lines that break at gaps instead of
// inventing data across them, the lowest and highest value of every pixel
// column when a pane holds more samples than pixels, and scales whose labels
// fit the room reserved for them at every size, on values the channel can take.

#include "chart/ChartChannels.h"
#include "chart/ChartPane.h"
#include "chart/ChartTrace.h"
#include "datalog/LiveChannels.h"

#include <QTest>
#include <QValueAxis>
#include <cmath>

namespace {

// A ring of the live channels at a steady pace with one channel set by wave.
template <typename Wave> TSampleRing Samples(double seconds, double pace, int channel, Wave wave)
{
    TSampleRing ring(LiveChannel::Count);
    std::vector<double> values(LiveChannel::Count, 0.0);
    for (int row = 0; row * pace <= seconds + 1e-9; ++row) {
        values[size_t(channel)] = wave(row * pace);
        ring.Append(row * pace, values.data());
    }
    return ring;
}

// The most ticks any scale of the pane held at any moment: the chart makes an
// item and a label for each at once.
class TickWatch {
public:
    explicit TickWatch(const TChartPane& pane)
    {
        for (QAbstractAxis* axis : pane.chart()->axes()) {
            auto* scale = qobject_cast<QValueAxis*>(axis);
            const auto count = [this, scale] {
                if (scale->tickInterval() > 0)
                    m_most = std::max(m_most, (scale->max() - scale->min()) / scale->tickInterval());
            };
            QObject::connect(scale, &QValueAxis::rangeChanged, count);
            QObject::connect(scale, &QValueAxis::tickIntervalChanged, count);
        }
    }
    double Most() const { return m_most; }

private:
    double m_most = 0;
};

} // namespace

class TestChartPane : public QObject {
    Q_OBJECT

private slots:
    void linesBreakAtGaps_data();
    void linesBreakAtGaps();
    void denseSamplesDrawEachColumnsExtremes();
    void scaleLabelsFitAtEverySize_data();
    void scaleLabelsFitAtEverySize();
};

// A minute at 10 rows a second with the link lost for 20 s in the middle,
// drawn wider and narrower than the rows: no line crosses the gap.
void TestChartPane::linesBreakAtGaps_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("steps");
    QTest::newRow("row by row") << 2000 << false;
    QTest::newRow("row by row, a band") << 2000 << true;
    QTest::newRow("by column") << 300 << false;
    QTest::newRow("by column, a band") << 300 << true;
}

void TestChartPane::linesBreakAtGaps()
{
    QFETCH(int, columns);
    QFETCH(bool, steps);
    TSampleRing ring(LiveChannel::Count);
    std::vector<double> values(LiveChannel::Count, 1.0);
    for (int row = 0; row <= 600; ++row) {
        const double time = row / 10.0;
        if (time > 20 && time < 40)
            continue;
        values[LiveChannel::Lambda] = std::sin(time);
        ring.Append(time, values.data());
    }
    ChartTrace::TRequest request;
    request.channel = LiveChannel::Lambda;
    request.from = 0;
    request.to = 60;
    request.columns = columns;
    request.steps = steps;
    request.origin = 10;
    const QList<QList<QPointF>> lines = ChartTrace::Lines(ring, request);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).first().x(), -10.0);
    QCOMPARE(lines.at(0).last().x(), 20.0 - 10);
    QCOMPARE(lines.at(1).first().x(), 40.0 - 10);
    QCOMPARE(lines.at(1).last().x(), 60.0 - 10);
    for (const QList<QPointF>& line : lines) {
        for (int point = 1; point < line.size(); ++point)
            QVERIFY(line.at(point).x() - line.at(point - 1).x() < 0.5);
    }
}

// Ten minutes of a 1 Hz wave read 20 times a second, 1200 columns wide: each
// column shows exactly the lowest and highest value of its rows, with no more
// than two points, so the drawing holds the wave's full swing everywhere and
// no beat that is not in the data.
void TestChartPane::denseSamplesDrawEachColumnsExtremes()
{
    const auto wave = [](double t) { return 0.45 + 0.4 * std::sin(2 * M_PI * t); };
    const TSampleRing ring = Samples(600, 0.05, LiveChannel::Lambda, wave);
    ChartTrace::TRequest request;
    request.channel = LiveChannel::Lambda;
    request.from = 0;
    request.to = 600;
    request.columns = 1200;
    const QList<QList<QPointF>> lines = ChartTrace::Lines(ring, request);
    QCOMPARE(lines.size(), 1);
    QMap<int, QPair<double, double>> drawn; // column: lowest, highest
    for (const QPointF& point : lines.first()) {
        const int column = int(std::floor(point.x() * 2 + 1e-9));
        auto& extremes = drawn[column];
        if (!drawn.contains(column) || extremes == QPair<double, double>())
            extremes = {point.y(), point.y()};
        extremes = {std::min(extremes.first, point.y()), std::max(extremes.second, point.y())};
    }
    QVERIFY(lines.first().size() <= 2 * 1201);
    QCOMPARE(drawn.size(), 1201);
    for (int row = 0; row < ring.Count(); ++row) {
        const int column = int(std::floor(ring.Time(row) * 2 + 1e-9));
        const double value = ring.Value(row, LiveChannel::Lambda);
        QVERIFY(value >= drawn[column].first - 1e-12 && value <= drawn[column].second + 1e-12);
    }
    // Every column of half a second holds half a period: the swing is drawn whole.
    for (auto it = drawn.cbegin(); it != std::prev(drawn.cend()); ++it)
        QVERIFY2(it.value().second - it.value().first > 0.35, qPrintable(QString::number(it.key())));
}

// Engine speeds from idle to 6000 and lambda voltages in panes from the
// smallest height up: every label of the scale fits the room reserved for it,
// labelled ticks stand apart by more than a text line, and engine speed never
// goes below zero. No scale ever holds more ticks than a pane shows, neither
// at the first drawing nor when the time shown grows an hundredfold.
void TestChartPane::scaleLabelsFitAtEverySize_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("legend");
    // A height of 0 stands for the pane's least height, with its legend
    // (as in 'log plot') and without (as in the chart window).
    for (const bool legend : {true, false}) {
        for (const QSize size : {QSize(500, 0), QSize(800, 130), QSize(1600, 300)}) {
            const QByteArray at = QByteArray::number(size.width()) + "x" + QByteArray::number(size.height()) +
                                  (legend ? " with legend" : "");
            QTest::newRow("engine speed near 0, " + at)
                << int(LiveChannel::Rpm) << 0.0 << 950.0 << size << legend;
            QTest::newRow("engine speed to 6000, " + at)
                << int(LiveChannel::Rpm) << 800.0 << 6000.0 << size << legend;
            QTest::newRow("engine speed 10000, " + at)
                << int(LiveChannel::Rpm) << 9990.0 << 10010.0 << size << legend;
            QTest::newRow("lambda, " + at) << int(LiveChannel::Lambda) << 0.05 << 0.85 << size << legend;
            QTest::newRow("temperature, " + at)
                << int(LiveChannel::Temperature) << -12.0 << 95.0 << size << legend;
        }
    }
}

void TestChartPane::scaleLabelsFitAtEverySize()
{
    QFETCH(int, channel);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(QSize, size);
    QFETCH(bool, legend);
    const TSampleRing ring = Samples(60, 0.1, channel, [&](double t) { return low + (high - low) * t / 60; });
    TChartPane pane(ChartChannels::OfPane(ChartChannels::All().at(channel).pane),
                    ChartChannels::Labels(nullptr));
    pane.SetLegendVisible(legend);
    pane.resize(size.expandedTo(pane.minimumSize()));
    pane.show();
    const TickWatch ticks(pane);
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::processEvents();
        pane.Draw(ring, 0, 60, NAN, 0);
    }
    const QStringList labels = pane.ValueLabels();
    QVERIFY(labels.size() >= 2);
    const QFontMetrics metrics(pane.LabelFont());
    for (const QString& label : labels)
        QVERIFY2(metrics.horizontalAdvance(label) < pane.LabelRoom(), qPrintable(label));
    QCOMPARE(QSet<QString>(labels.cbegin(), labels.cend()).size(),
             labels.size()); // no two ticks read the same
    const double plotHeight = pane.chart()->plotArea().height();
    QVERIFY2(plotHeight / (labels.size() - 1) > metrics.height(),
             qPrintable(labels.join(u' ') + QStringLiteral(" in %1 px").arg(plotHeight)));
    QVERIFY(pane.ValueMin() <= low && pane.ValueMax() >= high);
    if (channel != LiveChannel::Temperature)
        QVERIFY(pane.ValueMin() >= 0);
    pane.Draw(ring, -5940, 60, NAN, 0);
    QVERIFY2(ticks.Most() <= 100, qPrintable(QString::number(ticks.Most())));
}

QTEST_MAIN(TestChartPane)
#include "tst_chartpane.moc"
