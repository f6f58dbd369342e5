// Google Benchmark of the hot paths where a slow-down would show: the refresh
// pass that reads and delivers the nine live items, and the conversion of a
// parameter both ways (unit to user, user to unit).
//
//   tzr582-benchmark [--benchmark_min_time=SECONDS ...]

#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "model/SerialDataModule.h"
#include "simunit/SimUnitControl.h"
#include "wire/WireFrame.h"
#include "wire/WireProtocol.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

extern "C" SimUnitControl* _GetSimUnitControl();

namespace {

// The data module connected to the simulated unit, made once for every benchmark.
TSerialDataModule& ConnectedModule()
{
    static const QTemporaryDir folder;
    static TSerialDataModule* const module = [] {
        SimUnitControl* sim = _GetSimUnitControl();
        sim->setDataFolder(folder.filePath(QStringLiteral("unit")).toStdString());
        sim->resetToFactory();
        auto* made = new TSerialDataModule(QCoreApplication::instance());
        made->ConnectToUnit(4, 0);
        // The refresher's thread runs (a pass needs it) but idles, so every
        // pass measured is one the benchmark asks for.
        made->DataRefresher()->SetSleepTime(3600 * 1000);
        made->DataRefresher()->SetEnabled(true);
        return made;
    }();
    return *module;
}

void RefreshPass(benchmark::State& state)
{
    TDataRefresher* refresher = ConnectedModule().DataRefresher();
    for (auto _ : state)
        refresher->ReloadAll();
}
BENCHMARK(RefreshPass);

// A parameter with a formula conversion and a step (seconds of overlap time).
TOrvNumber& FormulaItem()
{
    return *ConnectedModule().Number(QStringLiteral("TEMPO_SOVRAPPOSIZIONE"));
}

void ConvertToUser(benchmark::State& state)
{
    TOrvNumber& item = FormulaItem();
    int raw = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(item.ConvertValueToUser(raw));
        raw = (raw + 1) & 0xFF;
    }
}
BENCHMARK(ConvertToUser);

void ConvertToUnit(benchmark::State& state)
{
    TOrvNumber& item = FormulaItem();
    double value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(item.ConvertValueToEcu(value, nullptr));
        value = value < 2 ? value + 0.1 : 0;
    }
}
BENCHMARK(ConvertToUnit);

// A block-read answer of 16 bytes through the wire codec: encoded, then decoded.
void WireCodec(benchmark::State& state)
{
    WireFrame frame;
    frame.command = WireCommand::ResponseTo(WireCommand::ReadBlock);
    frame.payload = QByteArray(17, '\x7e'); // every byte stuffed: the codec's worst case
    WireDecoder decoder;
    WireFrame decoded;
    for (auto _ : state) {
        ++frame.sequence;
        decoder.feed(Wire::EncodeFrame(frame));
        benchmark::DoNotOptimize(decoder.take(&decoded));
    }
}
BENCHMARK(WireCodec);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
