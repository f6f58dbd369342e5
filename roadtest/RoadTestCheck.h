#pragma once

// TRoadTestCheck judges a data log of a road test: whether the lambda loop
// worked, criterion by criterion, and which changes of the configuration
// would help. Pure functions of the samples (the live channels) and of the
// configuration in force.
//
// Closed-loop samples are those with the engine running (speed above 0), warm
// (at or above the changeover temperature) and not at full throttle (TPS below
// the full-throttle TPS). Each sample holds until the next one (at most
// TRoadTestThresholds::maxHold). Idle is the engine running with the TPS not
// off idle (within tpsOffIdle of the unit's TPS idle value), full throttle at
// or above the full-throttle TPS, cruise in between.

#include "roadtest/RoadTestResult.h"
#include "roadtest/RoadTestSettings.h"
#include "roadtest/RoadTestThresholds.h"

class TSampleRing;

class TRoadTestCheck {
public:
    explicit TRoadTestCheck(const TRoadTestSettings& settings, const TRoadTestThresholds& thresholds = {});

    // The check over the rows of samples from `from` to `to` seconds (the
    // ring's channels are the live channels).
    TRoadTestResult Run(const TSampleRing& samples, double from = -1e300, double to = 1e300) const;

private:
    struct TRow;
    QList<TRow> Rows(const TSampleRing& samples, double from, double to) const;
    TCriterionResult RpmSignal(const QList<TRow>& rows) const;
    TCriterionResult WarmUp(const TRoadTestResult& result) const;
    TCriterionResult LambdaSwitching(const QList<TRow>& rows, QList<double>& crossings) const;
    TCriterionResult MixtureBalance(const QList<TRow>& rows, double closedSeconds) const;
    TCriterionResult ActuatorAuthority(const QList<TRow>& rows, double closedSeconds) const;
    TCriterionResult DefaultPosition(const QList<TRow>& rows, const QList<double>& crossings) const;
    TCriterionResult Coverage(const QList<TRow>& rows) const;
    void Suggest(TRoadTestResult& result) const;
    double ActuatorRange() const;

    TRoadTestSettings m_settings;
    TRoadTestThresholds m_limits;
};
