#pragma once

// The lines the chart draws for one channel over a stretch of time. Rows with
// a gap between them (see TSampleRing) are not joined: each stretch without a
// gap is a line of its own. When the stretch holds more rows than the pane has
// pixel columns, each column is drawn as the lowest and the highest value of
// its rows, one above the other, so that a fast wave shows as the band it
// fills rather than as a beat that is not in the data.

#include "datalog/SampleRing.h"

#include <QList>
#include <QPointF>

namespace ChartTrace {

struct TRequest {
    int channel = 0;
    double from = 0;
    double to = 1;
    int columns = 1;    // the pixel columns of the plot
    bool steps = false; // a band: each value holds until the next row
    double origin = 0;  // subtracted from the times of the points
};

// One row either side of the stretch is drawn too, so that the lines reach
// its edges.
QList<QList<QPointF>> Lines(const TSampleRing& ring, const TRequest& request);

} // namespace ChartTrace
