#pragma once

// Logs of the simulated engine as 'unit live --output' records them: the
// engine model's packets with the factory memory, from the model's start, one
// sample every 100 ms, in the live channels' engineering units.

#include "datalog/LiveChannels.h"
#include "datalog/LogWriter.h"
#include "datalog/SampleRing.h"
#include "simunit/EngineModel.h"
#include "simunit/FactoryMemory.h"

#include <QDateTime>
#include <vector>

inline std::vector<double> EngineLogRow(int64_t modelMs, EngineBehaviour behaviour)
{
    const auto volts = [](uint8_t byte) { return byte * 5.0 / 255.0; };
    const EngineSample s = EngineModel::Sample(modelMs, FactoryMemory::bytes().data(), behaviour);
    std::vector<double> v(LiveChannel::Count);
    v[LiveChannel::Rpm] = s.phase == EnginePhase::Stopped ? 0 : s.rpm;
    v[LiveChannel::Lambda] = volts(s.packet[LivePacket::Lambda]);
    v[LiveChannel::Tps] = volts(s.packet[LivePacket::Tps]);
    v[LiveChannel::TpsIdle] = volts(s.packet[LivePacket::TpsIdle]);
    v[LiveChannel::Actuator] = s.packet[LivePacket::Actuator];
    v[LiveChannel::DefaultPosition] = s.packet[LivePacket::DefaultPosition];
    v[LiveChannel::LambdaBand] = s.packet[LivePacket::LambdaBand];
    v[LiveChannel::TpsBand] = s.packet[LivePacket::TpsBand];
    v[LiveChannel::Temperature] = s.temperatureC;
    return v;
}

inline TSampleRing EngineLog(EngineBehaviour behaviour, int durationMs)
{
    TSampleRing ring(LiveChannel::Count);
    for (int t = 0; t <= durationMs; t += 100)
        ring.Append(t / 1000.0, EngineLogRow(t, behaviour).data());
    return ring;
}

inline bool WriteEngineLog(const QString& fileName, EngineBehaviour behaviour, int durationMs)
{
    TLogWriter writer;
    QString error;
    if (!writer.Open(fileName, LiveChannels(), error))
        return false;
    const QDateTime start(QDate(2026, 12, 10), QTime(14, 0), Qt::UTC);
    for (int t = 0; t <= durationMs; t += 100) {
        TLogSample sample;
        sample.monotonicMs = t;
        sample.time = start.addMSecs(t);
        const std::vector<double> row = EngineLogRow(t, behaviour);
        sample.values = QVector<double>(row.cbegin(), row.cend());
        if (!writer.Write(sample))
            return false;
    }
    writer.Close();
    return true;
}
