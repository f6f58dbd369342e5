#include "simunit/EngineModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace EngineModel {

namespace {

constexpr double Pi = 3.14159265358979323846;

// The temperature sensor's table: -55 .. 180 °C in steps of 5, resistance ratios.
constexpr double RatioTable[48] = {
    97.578, 67.65,   47.538,  33.831,   24.359, 17.753,  13.067,  9.7228,  7.3007,  5.5361,  4.2332,  3.266,
    2.5392, 1.9902,  1.5709,  1.2492,   1.0,    0.805,   0.65326, 0.5329,  0.4371,  0.36,    0.299,   0.2493,
    0.2088, 0.1757,  0.148,   0.1262,   0.1076, 0.09215, 0.07922, 0.0683,  0.05924, 0.05153, 0.04492, 0.0392,
    0.0343, 0.03018, 0.02665, 0.023594, 0.0209, 0.0186,  0.0166,  0.01486, 0.01332, 0.01198, 0.01079, 0.00974,
};
constexpr double TableFirstC = -55;
constexpr double TableStepC = 5;

// Phase boundaries within the 60 s cycle, in ms.
constexpr int StartMs = 6000;
constexpr int AccelMs = 20000;
constexpr int CruiseMs = 23000;
constexpr int FullMs = 40000;
constexpr int DecelMs = 46000;
constexpr int IdleAgainMs = 50000;

constexpr double IdleRpm = 850;
constexpr double CruiseRpm = 2600;
constexpr double FullRpm = 4800;
constexpr double DecelEndRpm = 1100;
constexpr double IdleOpening = 0.6; // TPS volts of the closed throttle
constexpr double CruiseOpening = 1.6;
constexpr double FullOpening = 4.6;

double wave(int64_t ms, double periodMs)
{
    return std::sin(2 * Pi * double(ms) / periodMs);
}

double lerp(double a, double b, double f)
{
    return a + (b - a) * std::clamp(f, 0.0, 1.0);
}

int roundToInt(double v)
{
    return int(std::lround(v));
}

uint8_t toByte(double v)
{
    return uint8_t(std::clamp(roundToInt(v), 0, 255));
}

double volts(uint8_t b)
{
    return b * 5.0 / 255.0;
}

int signMagnitude(uint8_t x)
{
    return x < 128 ? x : 128 - x;
}

constexpr const char* BehaviourNames[] = {"healthy", "lean", "dead-sensor", "far-default"};

} // namespace

const char* BehaviourName(EngineBehaviour behaviour)
{
    return BehaviourNames[int(behaviour)];
}

bool BehaviourFromName(const char* name, EngineBehaviour* behaviour)
{
    for (int i = 0; i < int(std::size(BehaviourNames)); ++i) {
        if (std::strcmp(name, BehaviourNames[i]) == 0) {
            *behaviour = EngineBehaviour(i);
            return true;
        }
    }
    return false;
}

int NeededPosition(EngineBehaviour behaviour, int defaultPosition)
{
    switch (behaviour) {
    case EngineBehaviour::Lean:
        return 260;
    case EngineBehaviour::FarDefault:
        return 135;
    default:
        return defaultPosition; // the default the unit has learnt
    }
}

int IgnitionScale(int ignitionType)
{
    switch (ignitionType) {
    case 1:
        return 96000;
    case 2:
        return 80000;
    case 3:
        return 60000;
    case 6:
        return 80000;
    default:
        return 120000;
    }
}

double TemperatureRatio(double celsius)
{
    const double pos = (celsius - TableFirstC) / TableStepC;
    if (pos <= 0)
        return RatioTable[0];
    if (pos >= 47)
        return RatioTable[47];
    const int i = int(pos);
    return lerp(RatioTable[i], RatioTable[i + 1], pos - i);
}

uint8_t TemperatureByte(double celsius)
{
    const double r = TemperatureRatio(celsius);
    return toByte(255.0 * r / (1.0 + r));
}

EnginePhase PhaseAt(int64_t modelMs)
{
    const int64_t c = ((modelMs % CycleMs) + CycleMs) % CycleMs;
    if (c < StartMs)
        return EnginePhase::Stopped;
    if (c < AccelMs)
        return EnginePhase::Idle;
    if (c < CruiseMs)
        return EnginePhase::Accelerating;
    if (c < FullMs)
        return EnginePhase::Cruise;
    if (c < DecelMs)
        return EnginePhase::FullThrottle;
    if (c < IdleAgainMs)
        return EnginePhase::Decelerating;
    return EnginePhase::Idle;
}

EngineSample Sample(int64_t t, const uint8_t* m, EngineBehaviour behaviour)
{
    EngineSample s;
    const int64_t c = ((t % CycleMs) + CycleMs) % CycleMs;
    s.phase = PhaseAt(t);

    // Configuration read from the unit's memory (the configurator's addresses).
    const int ignition = m[163] & 0x07;
    const int tpsKind = m[164] >> 5;
    const int probeKind = m[165] >> 5;
    const bool fixedTpsIdle = (m[165] & 0x02) != 0;
    const bool fullThrottleFunction = (m[162] & 0x01) != 0;
    const bool cutOffFunction = (m[162] & 0x04) != 0;
    const bool fixedDefault = (m[162] & 0x08) != 0;
    const int64_t closedLoopDelayMs = int64_t(m[205]) * 5000;
    const int actMin = std::min(m[208], m[207]);
    const int actMax = std::max(m[208], m[207]);

    // Engine speed and throttle.
    switch (s.phase) {
    case EnginePhase::Stopped:
        s.rpm = 0;
        s.tpsOpening = IdleOpening;
        break;
    case EnginePhase::Idle:
        s.rpm = IdleRpm + 15 * wave(t, 2300);
        s.tpsOpening = IdleOpening + 0.005 * wave(t, 3100);
        break;
    case EnginePhase::Accelerating: {
        const double f = double(c - AccelMs) / (CruiseMs - AccelMs);
        s.rpm = lerp(IdleRpm, CruiseRpm, f);
        s.tpsOpening = lerp(IdleOpening, CruiseOpening + 0.4, std::min(1.0, 3 * f));
        break;
    }
    case EnginePhase::Cruise:
        s.rpm = CruiseRpm + 100 * wave(t, 5000);
        s.tpsOpening = CruiseOpening + 0.25 * wave(t, 7000);
        break;
    case EnginePhase::FullThrottle:
        s.rpm = lerp(CruiseRpm, FullRpm, double(c - FullMs) / 4000.0);
        s.tpsOpening = FullOpening;
        break;
    case EnginePhase::Decelerating:
        s.rpm = lerp(FullRpm, DecelEndRpm, double(c - DecelMs) / (IdleAgainMs - DecelMs));
        s.tpsOpening = IdleOpening;
        break;
    }
    const bool running = s.phase != EnginePhase::Stopped;
    const bool closedLoop = running && (c - StartMs) >= closedLoopDelayMs;

    // Temperature: warm-up from 20 °C towards 85 °C.
    s.temperatureC = 85.0 - 65.0 * std::exp(-double(std::max<int64_t>(t, 0)) / 80000.0);

    // Lambda probe: richness r in [-1, 1] (positive = rich), then the probe's voltage.
    double lo = 0.1, hi = 0.9;
    bool inverted = false;
    switch (probeKind) {
    case 1:
    case 2:
        lo = 0.5;
        hi = 4.5;
        break;
    case 3:
    case 4:
        lo = 0.5;
        hi = 4.5;
        inverted = true;
        break;
    case 5:
        lo = 0.8;
        hi = 1.6;
        break;
    default:
        break;
    }
    uint8_t refByte = m[200];
    if (s.phase == EnginePhase::Idle)
        refByte = m[199];
    else if (s.phase == EnginePhase::FullThrottle)
        refByte = m[202];
    const double ref = std::clamp(volts(refByte), lo + 0.05, hi - 0.05);
    const double period = s.phase == EnginePhase::Idle           ? 1200
                          : s.phase == EnginePhase::FullThrottle ? 900
                                                                 : 700;
    double richness = 0;
    double correction = 0; // actuator steps around the default position
    if (!running) {
        richness = -1;
    } else if (s.phase == EnginePhase::Decelerating) {
        richness = -1; // fuel cut: lean
    } else if (s.phase == EnginePhase::FullThrottle && fullThrottleFunction) {
        richness = 0.85; // open loop at full throttle: rich
    } else if (!closedLoop) {
        richness = -0.5; // cold probe, open loop
    } else if (behaviour != EngineBehaviour::DeadSensor) {
        richness = std::tanh(3 * wave(t, period)) / std::tanh(3.0);
        // The actuator integrates the lambda error: it leans while the mixture is rich.
        correction = (s.phase == EnginePhase::Idle ? 4 : 6) * std::cos(2 * Pi * double(t) / period);
    }
    const bool closedLoopControl = running && closedLoop && s.phase != EnginePhase::Decelerating &&
                                   !(s.phase == EnginePhase::FullThrottle && fullThrottleFunction);
    // Actuator and default position.
    int defaultPosition = m[168];
    if (!fixedDefault)
        defaultPosition += roundToInt(3 * wave(t, 300000)); // slow learning drift
    defaultPosition = std::clamp(defaultPosition, actMin, actMax);
    // In closed loop the actuator works around the position the engine needs,
    // within the idle or the cruise limits around the default position; when a
    // limit holds it short of that position the mixture stays on that side.
    const int desired = NeededPosition(behaviour, defaultPosition) + roundToInt(correction);
    const bool idleLimits = s.phase == EnginePhase::Idle;
    const int below = idleLimits ? m[187] : m[189];
    const int above = idleLimits ? m[184] : m[188];
    const int loopMin = std::max(actMin, defaultPosition - below);
    const int loopMax = std::max(loopMin, std::min(actMax, defaultPosition + above));
    const int loopPosition = std::clamp(desired, loopMin, loopMax);
    if (closedLoopControl && loopPosition < desired - 1)
        richness = -0.8 + 0.1 * wave(t, period); // short of gas: lean
    else if (closedLoopControl && loopPosition > desired + 1)
        richness = 0.8 + 0.1 * wave(t, period); // too much gas: rich

    const double toward = inverted ? -richness : richness;
    s.lambdaVolts = toward >= 0 ? ref + toward * (hi - ref) : ref + toward * (ref - lo);
    double deviation = (s.lambdaVolts - ref) / (hi - lo);
    if (inverted)
        deviation = -deviation;
    const int lambdaBand = deviation < -0.1 ? 0 : deviation > 0.1 ? 2 : 1;

    int actuator = defaultPosition;
    if (running) {
        if (s.phase == EnginePhase::FullThrottle && fullThrottleFunction)
            actuator = m[167];
        else if (s.phase == EnginePhase::Decelerating)
            actuator = cutOffFunction ? m[206] : defaultPosition;
        else if (!closedLoop)
            actuator = defaultPosition + signMagnitude(m[219]);
        else
            actuator = loopPosition;
    }
    actuator = std::clamp(actuator, actMin, actMax);

    // TPS as the configured sensor kind delivers it.
    auto tpsByte = [&](double opening) -> uint8_t {
        const uint8_t direct = toByte(opening * 51.0);
        const bool offIdle = opening > IdleOpening + 0.2;
        switch (tpsKind) {
        case 1:
            return uint8_t(255 - direct);
        case 2:
            return offIdle ? 255 : 0;
        case 3:
            return offIdle ? 0 : 255;
        case 5:
            return 0;
        default:
            return direct;
        }
    };
    const uint8_t tpsIdle = fixedTpsIdle ? m[195] : tpsByte(IdleOpening);
    const double hysteresis = volts(m[194]);
    int tpsBand = 1;
    if (s.tpsOpening <= IdleOpening + hysteresis)
        tpsBand = 0;
    else if (s.tpsOpening >= volts(m[166]))
        tpsBand = 3;
    else if (s.tpsOpening >= IdleOpening + 0.5)
        tpsBand = 2;

    // Packet.
    auto& p = s.packet;
    p[LivePacket::RpmPeriod] =
        running ? uint8_t(std::clamp(roundToInt(IgnitionScale(ignition) / s.rpm), 1, 254)) : 255;
    p[LivePacket::Lambda] = toByte(s.lambdaVolts * 51.0);
    p[LivePacket::Tps] = tpsByte(s.tpsOpening);
    p[LivePacket::TpsIdle] = tpsIdle;
    p[LivePacket::Actuator] = uint8_t(actuator);
    p[LivePacket::DefaultPosition] = uint8_t(defaultPosition);
    p[LivePacket::LambdaBand] = uint8_t(lambdaBand);
    p[LivePacket::TpsBand] = uint8_t(tpsBand);
    p[LivePacket::Temperature] = TemperatureByte(s.temperatureC);
    return s;
}

} // namespace EngineModel
