#pragma once

// A small time-based engine model that produces the unit's live packet (code 0).
// It is a pure function of the model time and of the unit's configuration
// memory, so a pinned clock gives a deterministic packet.
//
// The engine runs a 60 s cycle (see EngineModel::phaseAt): stopped, idle,
// acceleration, cruise, full throttle, deceleration with cut-off, idle again.
// The temperature warms up from 20 °C towards 85 °C with a time constant of
// 80 s (about 82 °C after 4 minutes) from model time 0.

#include <array>
#include <cstdint>

enum class EnginePhase { Stopped = 0, Idle, Accelerating, Cruise, FullThrottle, Decelerating };

// How the simulated engine and its lambda loop behave, so that a road-test
// check has something to find:
// - Healthy: the loop settles at the default position and the probe switches;
// - Lean: the engine needs far more gas than the actuator can give (position
//   260), so the loop holds it at its upper limit and the mixture stays lean;
// - DeadSensor: the probe stands at the reference and never switches, so the
//   loop never moves the actuator;
// - FarDefault: the engine needs the actuator at 135, 35 steps above the
//   factory default position; with the default at 100 that is beyond the idle
//   limit, so the loop is held there while idling. With the default moved to
//   where the loop settles, the engine runs as a healthy one.
enum class EngineBehaviour { Healthy = 0, Lean, DeadSensor, FarDefault };

// Byte offsets of the live packet.
namespace LivePacket {
constexpr int RpmPeriod = 0;       // 255 = engine stopped; else B / RPM with B of the ignition type
constexpr int Lambda = 1;          // 0-255 = 0-5 V
constexpr int Tps = 2;             // 0-255 = 0-5 V, as the configured TPS kind delivers it
constexpr int TpsIdle = 3;         // TPS byte the unit takes as idle
constexpr int Actuator = 4;        // actuator position, steps
constexpr int DefaultPosition = 5; // the actuator's current default position, steps
constexpr int LambdaBand = 6;      // 0 lean, 1 at the reference, 2 rich
constexpr int TpsBand = 7;         // 0 idle, 1 just off idle, 2 cruise, 3 full throttle
constexpr int Temperature = 8;     // 255 * r / (1 + r) for the sensor's resistance ratio r
constexpr int Size = 9;
} // namespace LivePacket

struct EngineSample {
    EnginePhase phase = EnginePhase::Stopped;
    double rpm = 0;          // 0 when stopped
    double temperatureC = 0; // engine temperature
    double lambdaVolts = 0;  // probe output
    double tpsOpening = 0;   // throttle as the voltage of a linear 0-5 V sensor
    std::array<uint8_t, LivePacket::Size> packet{};
};

namespace EngineModel {

constexpr int CycleMs = 60000;

// "healthy", "lean", "dead-sensor", "far-default".
const char* BehaviourName(EngineBehaviour behaviour);
// The behaviour of that name; false for an unknown name.
bool BehaviourFromName(const char* name, EngineBehaviour* behaviour);
// Where the engine needs the actuator, in steps, with the unit's default
// position at defaultPosition.
int NeededPosition(EngineBehaviour behaviour, int defaultPosition);

// Ignition scale B (RPM = B / period byte) for an ignition type.
int IgnitionScale(int ignitionType);

// Resistance ratio of the temperature sensor at t °C, by the sensor's 48-point
// table (linear between points, clamped to the table's ends).
double TemperatureRatio(double celsius);

// The temperature byte for t °C: round(255 * r / (1 + r)).
uint8_t TemperatureByte(double celsius);

EnginePhase PhaseAt(int64_t modelMs);

// The engine's state and live packet at model time modelMs, with the unit's
// configuration memory (256 bytes).
EngineSample Sample(int64_t modelMs, const uint8_t* memory,
                    EngineBehaviour behaviour = EngineBehaviour::Healthy);

} // namespace EngineModel
