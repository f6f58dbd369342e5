#pragma once

// The figures a fitter judges a closed lambda loop by, over a stretch of time:
// - the switching frequency: how often per second the mixture crosses the
//   lambda reference, counted on the unit's lambda band as a change from lean
//   to rich or back (a visit to the band around the reference that returns to
//   the side it came from is no crossing);
// - the shares of time the mixture was lean, in band and rich;
// - the actuator's mean position and its span (highest less lowest).
// Each sample holds until the next one; a gap in the samples (see TSampleRing)
// counts for nothing, and no crossing is counted across it.

#include "datalog/SampleRing.h"

struct TLoopFigures {
    bool valid = false; // false when the stretch holds fewer than two samples
    double seconds = 0; // the time the figures cover, gaps left out
    int crossings = 0;
    double switchingRate = 0; // crossings per second
    double leanShare = 0;     // 0..1
    double inBandShare = 0;
    double richShare = 0;
    double actuatorMean = 0;
    double actuatorSpan = 0;
};

namespace LoopFigures {
// The figures over the rows of the ring from `from` to `to` seconds; the
// ring's channels are the live channels.
TLoopFigures Compute(const TSampleRing& ring, double from, double to);
} // namespace LoopFigures
