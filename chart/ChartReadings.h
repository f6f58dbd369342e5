#pragma once

// TChartReadings, the chart window's side panel: the channels with their
// colour, a box each to switch them and their value at the cursor, and below
// them the figures that judge the lambda loop over the visible window.

#include "datalog/SampleRing.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class TTranslator;

class TChartReadings : public QWidget {
    Q_OBJECT

public:
    explicit TChartReadings(QWidget* parent = nullptr);

    void RefreshInterfaceText(TTranslator* translator);
    // The values of row (-1: none) at its time counted from origin, and the
    // figures of the rows from `from` to `to` seconds.
    void Show(const TSampleRing& ring, int row, double origin, double from, double to);

signals:
    void ChannelToggled(int channel, bool visible);

private:
    QList<QCheckBox*> m_channelBoxes;
    QList<QLabel*> m_valueLabels;
    QLabel* m_cursorTitle = nullptr;
    QString m_cursorText;
    QLabel* m_figuresTitle = nullptr;
    QList<QLabel*> m_figureNames;
    QList<QLabel*> m_figureValues;
};
