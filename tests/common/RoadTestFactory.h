#pragma once

// The road-test check's configuration values as the unit leaves the factory,
// with the steps and limits of their items, for the tests of the check.

#include "roadtest/RoadTestSettings.h"

inline TRoadTestParameter RoadTestParameter(double value, double step, double min, double max)
{
    TRoadTestParameter parameter;
    parameter.value = value;
    parameter.step = step;
    parameter.min = min;
    parameter.max = max;
    parameter.known = true;
    return parameter;
}

inline TRoadTestSettings FactoryRoadTestSettings()
{
    using S = TRoadTestSettings;
    TRoadTestSettings settings;
    settings.Set(S::ChangeoverTemperature, RoadTestParameter(25, 1, 0, 40));
    settings.Set(S::FullThrottleTps, RoadTestParameter(2.8, 0.1, 0, 5));
    settings.Set(S::ActuatorMin, RoadTestParameter(20, 1, 20, 240));
    settings.Set(S::ActuatorMax, RoadTestParameter(240, 1, 20, 240));
    settings.Set(S::DefaultPosition, RoadTestParameter(100, 1, 20, 240));
    settings.Set(S::IdleBelow, RoadTestParameter(25, 1, 0, 240));
    settings.Set(S::IdleAbove, RoadTestParameter(25, 1, 0, 240));
    settings.Set(S::CruiseBelow, RoadTestParameter(255, 1, 0, 255));
    settings.Set(S::CruiseAbove, RoadTestParameter(255, 1, 0, 255));
    return settings;
}
