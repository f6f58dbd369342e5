// Measures the data module's operations on the simulated unit:
//
//   tzr582-measure-module [RUNS]      (5 when none is given)
//
// connects to the unit (the link library beside the program), then prints as
// "name<TAB>value" lines the link exchanges and the time of a full reload of
// every item, and the time to save the unit's configuration to a file and to
// load it back; times are the median of RUNS runs, in milliseconds, with the
// pauses the program makes for the unit (the actuator rule's) among them.

#include "model/QuietPrompts.h"
#include "model/SerialDataModule.h"
#include "simunit/SimUnitControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

extern "C" SimUnitControl* _GetSimUnitControl();

namespace {

// Makes the program's pauses, as the program does, and counts them.
class CountingPrompts final : public TQuietPrompts {
public:
    void Wait(int milliseconds) override
    {
        pausedMs += milliseconds;
        TQuietPrompts::Wait(milliseconds);
    }
    int pausedMs = 0;
};

double MedianMilliseconds(int runs, const std::function<void()>& operation)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        operation();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = std::max(1, argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5);
    // The unit's memory lives in a folder of its own, never the user's.
    const QTemporaryDir folder;
    SimUnitControl* sim = _GetSimUnitControl();
    sim->setDataFolder(folder.filePath(QStringLiteral("unit")).toStdString());
    sim->resetToFactory();

    CountingPrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    module.Backups().SetFolder(folder.filePath(QStringLiteral("backups"))); // not among the user's
    if (module.ConnectToUnit(4, 0) != 0) {
        std::fprintf(stderr, "the simulated unit does not connect\n");
        return 1;
    }
    sim->clearLog();
    prompts.pausedMs = 0;
    module.ReloadAllItems();
    std::printf("reload-exchanges\t%zu\n", sim->logLines().size());
    std::printf("reload-pauses-ms\t%d\n", prompts.pausedMs);
    std::printf("reload-ms\t%.2f\n", MedianMilliseconds(runs, [&] { module.ReloadAllItems(); }));

    const QString file = folder.filePath(QStringLiteral("measure.tcn"));
    bool saved = true;
    bool loaded = true;
    std::printf("save-ms\t%.2f\n",
                MedianMilliseconds(runs, [&] { saved = module.SaveConfiguration(file) && saved; }));
    std::printf("load-ms\t%.2f\n",
                MedianMilliseconds(runs, [&] { loaded = module.LoadConfiguration(file) && loaded; }));
    module.ReleaseLink(false);
    return saved && loaded ? 0 : 1;
}
