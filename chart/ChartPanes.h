#pragma once

// TChartPanes stacks the chart's panes (lambda, TPS, engine speed, actuator,
// temperature) over one time range, and draws a ring of samples in them. A
// pane whose channels are all switched off leaves its room to the others; only
// the lowest pane shown labels the time.

#include "datalog/SampleRing.h"

#include <QList>
#include <QWidget>
#include <cmath>

class TChartPane;

class TChartPanes : public QWidget {
    Q_OBJECT

public:
    // labels holds "Name [unit]" of every live channel.
    explicit TChartPanes(const QStringList& labels, QWidget* parent = nullptr);

    void SetLabels(const QStringList& labels);
    // The names of the lambda band's values; the words for the gaps' causes.
    void SetBandNames(const QStringList& lambdaBand);
    void SetGapTexts(const QStringList& texts);
    // The lambda reference the unit applies (NaN: none), drawn as a line in
    // the lambda pane with its label.
    void SetLambdaReference(double volts, const QString& label);
    void SetChannelVisible(int channel, bool visible);
    void SetLegendsVisible(bool visible);
    bool ChannelVisible(int channel) const { return m_visible.value(channel); }
    const QList<TChartPane*>& Panes() const { return m_panes; }

    // Draws the rows of ring (not owned; null draws nothing) from `from` to `to`
    // seconds, with the cursor at `cursor` seconds (NaN: no cursor), on a time
    // scale that counts from origin.
    void Draw(const TSampleRing* ring, double from, double to, double cursor = NAN, double origin = 0);

signals:
    void Clicked(double time);
    void WheelTurned(int steps);

private:
    void PlacePanes();
    void AlignPlotAreas();

    QList<TChartPane*> m_panes;
    QList<bool> m_visible;
};
