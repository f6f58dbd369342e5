// Measures the processor time the configurator takes while the configuration
// window shows live values:
//
//   QT_QPA_PLATFORM=offscreen tzr582-measure [SECONDS]
//
// It starts the program's windows as the program does, connects to the unit
// (the link library beside the program), opens the configuration window as F1
// does, lets it run for SECONDS (10 when none is given) after a second of
// warming up, and prints the process's processor time (every thread) as a
// share of one core, with the number of live packets shown meanwhile, and the
// process's resident memory at the end.

#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/GuiPrompts.h"
#include "app/SerialDataModule.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The resident set of the process now, in MiB (VmRSS of /proc/self/status).
double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    TSerialDataModule dataModule;
    TGuiPrompts prompts(dataModule.Translator(), [] { return true; });
    dataModule.SetPrompts(&prompts);
    TFormMain window(&dataModule, ScalingWidth());
    TFormConfig config(&dataModule, &window, ScalingWidth());
    window.SetConfigurationWindow(&config);
    window.showMaximized();

    // Every live packet read moves the two band lamps.
    int lampChanges = 0;
    QObject::connect(&dataModule, &TSerialDataModule::BandLampChanged, [&lampChanges] { ++lampChanges; });
    QElapsedTimer clock;
    double startCpu = 0;
    int startLamps = 0;

    QTimer::singleShot(0, &window, [&] {
        window.Connect();
        QTimer::singleShot(1000, &config, [&] {
            clock.start();
            startCpu = ProcessorSeconds();
            startLamps = lampChanges;
        });
        QTimer::singleShot(1000 + seconds * 1000, &config, [&] {
            const double cpu = ProcessorSeconds() - startCpu;
            const double elapsed = clock.elapsed() / 1000.0;
            std::printf("%.1f s: %.3f s of processor time, %.2f %% of one core; %d live packets shown\n",
                        elapsed, cpu, 100.0 * cpu / elapsed, (lampChanges - startLamps) / 2);
            std::printf("resident memory %.1f MiB\n", ResidentMegabytes());
            config.close();
        });
        window.Action("ActionConfVett")->trigger();
        window.Disconnect();
        QApplication::quit();
    });
    const int result = QApplication::exec();
    dataModule.SetPrompts(nullptr);
    return result;
}
