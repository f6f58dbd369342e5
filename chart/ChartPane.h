#pragma once

// TChartPane draws the channels of one pane against time: the values on a
// left-hand scale that fits what is visible, bands as steps on a fixed
// right-hand scale, the marked moments as dashed lines with their notes, the
// gaps in the samples shaded (with their cause when known), and the cursor as
// a solid line. Lines break at gaps; a stretch with more samples than the
// pane has pixels is drawn as the lowest and highest value of each column.
//
// The pane writes the labels of its scales itself: the room they take is
// reserved from the widest label of the range shown, so that no label is ever
// cut short, and a short pane labels fewer ticks.

#include "datalog/SampleRing.h"

#include <QChartView>
#include <QList>
#include <QMap>
#include <cmath>

class QLineSeries;
class QValueAxis;

class TChartPane : public QChartView {
    Q_OBJECT

public:
    // labels holds "Name [unit]" of every live channel.
    TChartPane(const QList<int>& channels, const QStringList& labels, QWidget* parent = nullptr);

    const QList<int>& Channels() const { return m_channels; }
    // The pane's legend and the title of its scale (the unit of its values).
    void SetLabels(const QStringList& labels);
    // The names of the values of the pane's band, from 0 up (empty: numbers).
    void SetBandNames(const QStringList& names);
    // The words for the gaps' causes, by TSampleGap::Cause.
    void SetGapTexts(const QStringList& texts);
    // A horizontal reference line at value (NaN: none) on the left-hand scale.
    void SetReference(double value, const QString& label);
    void SetChannelVisible(int channel, bool visible);
    bool HasVisibleChannel() const;
    void SetTimeLabelsVisible(bool visible);
    // The legend over the plot (the chart window names the channels beside it).
    void SetLegendVisible(bool visible);
    // The room left and right of the plot area that the pane's own scales
    // take, and the room added to it so that the panes' plot areas line up.
    QMarginsF NaturalRoom() const;
    void SetExtraRoom(double left, double right);

    // Draws the rows of the ring from `from` to `to` seconds, with the cursor
    // (NaN for none). The time scale counts from origin, the ring's time at
    // which the recording or log started.
    void Draw(const TSampleRing& ring, double from, double to, double cursor, double origin);

    // What the scales show, for the tests: the labels of the left-hand scale,
    // the room reserved for them, and the range of the time scale.
    QStringList ValueLabels() const;
    int LabelRoom() const { return m_labelRoom; }
    QFont LabelFont() const;
    double ValueMin() const;
    double ValueMax() const;
    double TimeMin() const;
    double TimeMax() const;

signals:
    void Clicked(double time);
    void WheelTurned(int steps);

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void DrawLines(int channel, const QList<QList<QPointF>>& lines);
    QLineSeries* AddSeries(int channel);
    void FitValueAxis(const TSampleRing& ring);
    void FitTimeAxis();
    void UpdateMargins();
    QString ValueText(double value) const;
    int PlotHeight() const;
    double XOf(double time) const;
    double YOf(double value) const;
    void DrawGaps(QPainter* painter, const QRectF& area) const;
    void DrawMarkers(QPainter* painter, const QRectF& area) const;
    void DrawScales(QPainter* painter, const QRectF& area) const;

    QList<int> m_channels;
    // Each channel's lines: the first carries the legend, the others the
    // stretches after gaps.
    QMap<int, QList<QLineSeries*>> m_series;
    QValueAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QValueAxis* m_bandAxis = nullptr;
    double m_lowest = -INFINITY;
    double m_valueStep = 1;
    int m_valueTicks = 0;
    QString m_axisTitle;
    QStringList m_bandNames;
    int m_bandMax = 0;
    QStringList m_gapTexts;
    double m_reference = NAN;
    QString m_referenceLabel;
    int m_labelRoom = 0;
    int m_bandRoom = 0;
    double m_from = 0;
    double m_to = 1;
    double m_cursor = 0;
    double m_origin = 0;
    QList<TLogMarker> m_markers;
    QList<TSampleGap> m_gaps;
    QMarginsF m_extra;
};
