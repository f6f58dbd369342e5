#include "datalog/LoopFigures.h"

#include "datalog/LiveChannels.h"

#include <algorithm>
#include <cmath>

namespace LoopFigures {

TLoopFigures Compute(const TSampleRing& ring, double from, double to)
{
    TLoopFigures figures;
    const int first = ring.LowerBound(from);
    const int end = ring.LowerBound(std::nextafter(to, TSampleRing::Unlimited));
    if (end - first < 2)
        return figures;

    double durations[3] = {0, 0, 0};
    double actuatorTime = 0;
    double actuatorLow = ring.Value(first, LiveChannel::Actuator);
    double actuatorHigh = actuatorLow;
    int side = -1; // the last side of the reference seen: lean or rich
    for (int row = first; row < end; ++row) {
        const int band = int(std::lround(ring.Value(row, LiveChannel::LambdaBand)));
        const double actuator = ring.Value(row, LiveChannel::Actuator);
        actuatorLow = std::min(actuatorLow, actuator);
        actuatorHigh = std::max(actuatorHigh, actuator);
        if (band == LiveChannel::Lean || band == LiveChannel::Rich) {
            if (side >= 0 && band != side)
                ++figures.crossings;
            side = band;
        }
        if (row + 1 == end)
            break;
        if (ring.GapAfter(row)) {
            side = -1; // what the mixture did meanwhile is not known
            continue;
        }
        const double held = ring.Time(row + 1) - ring.Time(row);
        if (band >= LiveChannel::Lean && band <= LiveChannel::Rich)
            durations[band] += held;
        actuatorTime += actuator * held;
        figures.seconds += held;
    }

    if (figures.seconds <= 0)
        return figures;
    figures.valid = true;
    figures.switchingRate = figures.crossings / figures.seconds;
    figures.leanShare = durations[LiveChannel::Lean] / figures.seconds;
    figures.inBandShare = durations[LiveChannel::InBand] / figures.seconds;
    figures.richShare = durations[LiveChannel::Rich] / figures.seconds;
    figures.actuatorMean = actuatorTime / figures.seconds;
    figures.actuatorSpan = actuatorHigh - actuatorLow;
    return figures;
}

} // namespace LoopFigures
