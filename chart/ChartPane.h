#pragma once

// TChartPane draws the channels of one pane against time: the values on a
// left-hand scale that fits what is visible, bands as steps on a fixed
// right-hand scale, the marked moments as dashed lines and the cursor as a
// solid one. A stretch with more samples than the pane has pixels is drawn from
// the lowest and highest value of each column of two pixels, so ten minutes
// cost no more to draw than one.

#include "datalog/SampleRing.h"

#include <QChartView>
#include <QList>
#include <QMap>

class QLineSeries;
class QValueAxis;

class TChartPane : public QChartView {
    Q_OBJECT

public:
    // labels holds "Name [unit]" of every live channel.
    TChartPane(const QList<int>& channels, const QStringList& labels, QWidget* parent = nullptr);

    const QList<int>& Channels() const { return m_channels; }
    void SetLabels(const QStringList& labels);
    void SetChannelVisible(int channel, bool visible);
    bool HasVisibleChannel() const;
    void SetTimeLabelsVisible(bool visible);
    // The room left and right of the plot area that the pane's own scales
    // take, and the room added to it so that the panes' plot areas line up.
    QMarginsF NaturalRoom() const;
    void SetExtraRoom(double left, double right);

    // Draws the rows of the ring from `from` to `to` seconds, with the cursor
    // (NaN for none). The time scale counts from origin: a view that follows
    // the newest sample counts back from it, so that its scale stays put and
    // only the lines move.
    void Draw(const TSampleRing& ring, double from, double to, double cursor, double origin);

signals:
    void Clicked(double time);
    void WheelTurned(int steps);

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QList<QPointF> Points(const TSampleRing& ring, int channel, int first, int end, bool steps) const;
    void FitValueAxis(const TSampleRing& ring, int first, int end);
    double XOf(double time) const;

    QList<int> m_channels;
    QMap<int, QLineSeries*> m_series;
    QValueAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QValueAxis* m_bandAxis = nullptr;
    double m_from = 0;
    double m_to = 1;
    double m_cursor = 0;
    double m_origin = 0;
    QList<double> m_markers;
    QMarginsF m_extra;
};
