#include "controls/AxisBand.h"

TAxisBand TAxisBand::Find(const QVector<double>& breakpoints, double point)
{
    const double first = breakpoints.first();
    double lower = first >= 0 ? first * 0.8 : first * 1.2;
    for (int i = 0; i + 1 < breakpoints.size(); ++i) {
        const double mid = (breakpoints[i] + breakpoints[i + 1]) / 2;
        if (point < mid)
            return {i, lower, breakpoints[i], mid};
        lower = mid;
    }
    const double last = breakpoints.last();
    return {int(breakpoints.size()) - 1, lower, last, last > 0 ? last * 1.2 : last * 0.8};
}

int TAxisBand::Pixel(double point, int from, int to) const
{
    const int half = (to - from) / 2;
    if (!(point >= lower)) // a point that is not a number too
        return from;
    if (point > upper)
        return to;
    if (point <= breakpoint) {
        if (breakpoint == lower)
            return from;
        return from + int(half * (point - lower) / (breakpoint - lower));
    }
    if (upper == breakpoint)
        return to;
    return to - int(half * (upper - point) / (upper - breakpoint));
}
