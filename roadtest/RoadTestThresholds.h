#pragma once

// The thresholds of the road-test check, in one place (README.md, "Road-test
// check", shows the same table). Times in seconds, shares from 0 to 1,
// positions in actuator steps, voltages in volts.

struct TRoadTestThresholds {
    // A sample holds until the next one, but never longer than this: a gap in
    // a log (a pause of the recording) does not count as driving.
    double maxHold = 1.0;
    // The TPS is off idle when it is this far above the unit's TPS idle value.
    double tpsOffIdle = 0.1;
    // Below this much closed-loop time the check gives no verdict.
    double minClosedLoop = 60;

    // rpm-signal: a run of engine speed 0 with the TPS off idle, after the
    // engine first ran, this long or longer fails.
    double rpmDropout = 1.0;

    // lambda-switching: crossings of the reference per second of closed loop,
    // and the longest closed-loop time without a crossing.
    double switchingMin = 0.3;
    double switchingMax = 5.0;
    double quietMax = 30;

    // mixture-balance: the lean and the rich share of closed-loop time.
    double mixtureWarn = 0.70;
    double mixtureFail = 0.85;

    // actuator-authority: the actuator within this many steps of a limit, and
    // the share of closed-loop time it spends there.
    double limitMargin = 2;
    double authorityWarn = 0.10;
    double authorityFail = 0.30;

    // default-position: steady closed loop is the time between two crossings
    // at most this far apart; the steady median may stand this share of the
    // actuator's range (maximum less minimum) away from the default position.
    double steadyGap = 5;
    double defaultOffset = 0.10;

    // coverage: the least time at idle, in cruise and at full throttle.
    double coverageMin = 10;

    // A limit the loop runs into is moved by this share of the actuator's range.
    double limitMove = 0.10;
};
