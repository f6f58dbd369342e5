#pragma once

// How the chart shows each live channel: its colour (fixed, the same in the
// window and in pictures of a log), the pane it is drawn in, whether it is a
// band drawn as steps on the pane's right-hand scale, and its name (a text of
// the language store, with the English name for pictures made without one).

#include <QColor>
#include <QList>
#include <QString>

class TTranslator;

struct TChartChannel {
    QColor colour;
    int pane;
    bool band;       // a band value: steps on the right-hand scale
    int textIndex;   // the channel's name in the language store
    QString english; // the name when there is no language store
    int decimals;    // of the value shown at the cursor
    double lowest;   // the lowest value the channel can take (-inf: no bound)
};

namespace ChartChannels {
// Indexed by LiveChannel::Index.
const QList<TChartChannel>& All();
// The panes, top to bottom: lambda, TPS, engine speed, actuator, temperature.
constexpr int PaneCount = 5;
// The channels drawn in a pane, in drawing order.
QList<int> OfPane(int pane);
// "Name [unit]" of each channel, from the translator or in English when null.
QStringList Labels(TTranslator* translator);
// The names of the lambda band's values (lean, in band, rich), from the
// translator or in English when null.
QStringList LambdaBandNames(TTranslator* translator);
} // namespace ChartChannels
