#pragma once

#include <QVector>

// The band of a map axis in which a point lies: a band reaches from halfway to
// the previous breakpoint to halfway to the next one; the first starts a fifth
// of its breakpoint below it, the last ends a fifth of its breakpoint above it.
// The grid places its working-point marker by it.
struct TAxisBand {
    int index = 0;
    double lower = 0;
    double breakpoint = 0;
    double upper = 0;

    // The band of breakpoints (at least one) holding point.
    static TAxisBand Find(const QVector<double>& breakpoints, double point);

    // The pixel of a point within this band's cell, whose edges are from and
    // to: the breakpoint lies at the cell's centre, the band's bounds at its
    // edges, and a point beyond them at the nearer edge.
    int Pixel(double point, int from, int to) const;
};
