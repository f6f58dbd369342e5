#pragma once

// What the road-test check finds in a log: the verdict of each criterion with
// the figures it measured, and the changes it suggests. Numbers only; the
// texts are RoadTestText's.

#include <QList>
#include <QString>

enum class TVerdict { Pass, Warn, Fail };

enum class TCriterionId {
    RpmSignal,
    WarmUp,
    LambdaSwitching,
    MixtureBalance,
    ActuatorAuthority,
    DefaultPosition,
    Coverage
};

// The actuator's limit a stretch of closed loop was held against.
enum class TActuatorSide { None, Lower, Upper };

// The share of closed-loop time the actuator was held at one limit.
struct TLimitShare {
    QString item; // the component name of the limit that bound
    TActuatorSide side = TActuatorSide::None;
    double share = 0;
};

struct TCriterionResult {
    TCriterionId id = TCriterionId::RpmSignal;
    TVerdict verdict = TVerdict::Pass;
    // The figures, by criterion:
    //   rpm-signal         a = the longest run in seconds
    //   warm-up            a = the highest temperature, b = the changeover temperature
    //   lambda-switching   a = crossings per second, b = the longest stretch without one in seconds
    //   mixture-balance    a = the lean share, b = the rich share
    //   actuator-authority a = the share at a limit, b = the share at the limit named
    //                      (side, item), c = the share at the other side
    //   default-position   a = the steady median, b = the default position, c = the offset
    //                      allowed; known false when there was no steady closed loop
    //   coverage           a = idle, b = cruise, c = full-throttle seconds
    double a = 0;
    double b = 0;
    double c = 0;
    bool known = true;
    TActuatorSide side = TActuatorSide::None;
    QString item;              // actuator-authority: the component name of the limit named
    QList<TLimitShare> limits; // actuator-authority: every limit held at, in the settings' order
};

enum class TSuggestionKind {
    DefaultPosition,     // move the default position to where the loop settles
    WidenUpperLimit,     // the loop runs into an upper limit: raise it
    WidenLowerLimit,     // the loop runs into a lower limit: lower it
    InspectGasSupply,    // held at the upper limit, which cannot go further
    InspectRichMixture,  // held at the lower limit, which cannot go further
    InspectLambdaSensor, // the sensor does not switch while the actuator is free
    InspectLambdaWiring, // the sensor switches faster than a loop can
    InspectSpeedSignal,  // the engine speed drops to 0 while driving
};

struct TSuggestion {
    TSuggestionKind kind = TSuggestionKind::DefaultPosition;
    QString item; // component name; empty for an inspection
    double current = 0;
    double proposed = 0;
    double figure = 0; // what led to it: the steady median, the share at the limit
    bool Changes() const { return !item.isEmpty(); }
};

struct TRoadTestResult {
    // False when there is too little closed loop for a verdict (closedSeconds).
    bool judged = false;
    double closedSeconds = 0;
    double loggedSeconds = 0;
    double highestTemperature = 0;
    double changeoverTemperature = 0;
    QList<TCriterionResult> criteria; // in the order of TCriterionId
    QList<TSuggestion> suggestions;

    bool Fails() const;
    const TCriterionResult* Criterion(TCriterionId id) const;
};
