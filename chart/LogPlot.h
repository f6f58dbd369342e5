#pragma once

// Pictures of a data log for reports: the chart's panes over a stretch of the
// log, with the file's name, the stretch and the loop figures above them.
// Needs a QApplication; draws without a display on the offscreen platform.

#include "datalog/LogReader.h"

#include <QList>
#include <QSize>
#include <QString>

namespace LogPlot {

struct TOptions {
    QList<int> channels; // the live channels drawn; empty for all
    double from = 0;     // seconds of the log
    double to = 0;       // seconds; not above from: to the end of the log
    QSize size{1280, 800};
};

// Writes the picture as PNG; false with the reason when it cannot.
bool Render(const TLogData& data, const QString& title, const TOptions& options, const QString& pngFile,
            QString& error);

} // namespace LogPlot
