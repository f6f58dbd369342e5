// Measures what the configurator costs while it shows live values:
//
//   QT_QPA_PLATFORM=offscreen tzr582-measure [SECONDS]
//       the configuration window, opened as F1 does
//   tzr582-measure --chart [SECONDS]           (under a real X server: xvfb-run)
//       the live chart with every channel on, opened as F6 does
//   tzr582-measure --fitter [SECONDS]          (under a real X server: xvfb-run)
//       as a fitter runs the program: Ctrl+C, F1 and its live values for
//       SECONDS (20 when none is given), then F6 over it for SECONDS; one line
//       for each of the two stretches
//   QT_QPA_PLATFORM=offscreen tzr582-measure --open-log FILE
//       the time the chart takes to open the data log and draw it
//   QT_QPA_PLATFORM=offscreen tzr582-measure --memory
//       the memory that 30 minutes of live samples held by the chart take
//   QT_QPA_PLATFORM=offscreen tzr582-measure --log FILE [MINUTES]
//       writes a data log of MINUTES (30 when none is given) of the simulated
//       unit's engine, without waiting: the engine's clock is moved by the tool
//
// The first two start the program's windows as the program does, connect to
// the unit (the link library beside the program), open the window, let it run
// for SECONDS (10 when none is given) after a second of warming up, and print
// the process's processor time (every thread) as a share of one core, with the
// number of live packets shown meanwhile, and the process's resident memory
// at the end.

#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/GuiPrompts.h"
#include "chart/ChartChannels.h"
#include "chart/ChartPanes.h"
#include "chart/FormChart.h"
#include "datalog/LiveChannels.h"
#include "datalog/LogClock.h"
#include "datalog/LogWriter.h"
#include "items/DataRefresher.h"
#include "link/OrvConnection.h"
#include "model/LiveSampler.h"
#include "model/SerialDataModule.h"
#include "tools/SimulatedTime.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The resident memory of the process, in bytes.
qint64 ResidentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The configuration window (F1) or the chart (F6) on a connected unit.
int MeasureWindow(bool chart, int seconds)
{
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
            // Every packet shown turns a lamp on and off again.
            const int packets = (lampChanges - startLamps) / 2;
            std::printf("%s, %.1f s: %.3f s of processor time, %.2f %% of one core; %d live packets shown "
                        "(%.1f a second)\n",
                        chart ? "chart" : "configuration window", elapsed, cpu, 100.0 * cpu / elapsed,
                        packets, packets / elapsed);
            std::printf("resident memory %.1f MiB\n", double(ResidentBytes()) / (1024.0 * 1024.0));
            if (chart)
                window.ChartWindow()->close();
            else
                config.close();
        });
        if (chart) {
            window.Action("ActionChart")->trigger();
            window.ChartWindow()->showMaximized();
            QTimer::singleShot(1000 + seconds * 1000 + 100, &window, [&] {
                window.Disconnect();
                QApplication::quit();
            });
            return;
        }
        window.Action("ActionConfVett")->trigger();
        window.Disconnect();
        QApplication::quit();
    });
    const int result = QApplication::exec();
    dataModule.SetPrompts(nullptr);
    return result;
}

// The processor share of one stretch of a running program, printed as the
// other measurements print theirs.
class TStretch {
public:
    void Start()
    {
        m_clock.start();
        m_cpu = ProcessorSeconds();
    }
    void Print(const char* what) const
    {
        const double cpu = ProcessorSeconds() - m_cpu;
        const double elapsed = m_clock.elapsed() / 1000.0;
        std::printf("%s, %.1f s: %.3f s of processor time, %.2f %% of one core\n", what, elapsed, cpu,
                    100.0 * cpu / elapsed);
    }

private:
    QElapsedTimer m_clock;
    double m_cpu = 0;
};

// The program as a fitter runs it: the main window maximised, Ctrl+C, F1 (the
// configuration window, modal, with its live values), then F6 (the chart over
// it). Each stretch is measured after a second of warming up.
int MeasureFitterRun(int seconds)
{
    TSerialDataModule dataModule;
    TGuiPrompts prompts(dataModule.Translator(), [] { return true; });
    dataModule.SetPrompts(&prompts);
    TFormMain window(&dataModule, ScalingWidth());
    TFormConfig config(&dataModule, &window, ScalingWidth());
    window.SetConfigurationWindow(&config);
    window.showMaximized();
    TStretch live;
    TStretch chart;
    const int ms = seconds * 1000;
    QTimer::singleShot(0, &window, [&] {
        window.Action("ActionConnect")->trigger();
        // F1 holds its own event loop until the configuration window closes.
        QTimer::singleShot(1000, &window, [&] { live.Start(); });
        QTimer::singleShot(1000 + ms, &window, [&] {
            live.Print("live view (Ctrl+C, F1)");
            window.Action("ActionChart")->trigger();
            window.ChartWindow()->showMaximized();
        });
        QTimer::singleShot(2000 + ms, &window, [&] { chart.Start(); });
        QTimer::singleShot(2000 + 2 * ms, &window, [&] {
            chart.Print("chart over it (F6)");
            std::printf("resident memory %.1f MiB\n", double(ResidentBytes()) / (1024.0 * 1024.0));
            window.ChartWindow()->close();
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

// The time the chart takes to open a log for replay and draw it, shown as F6
// shows it.
int MeasureOpenLog(const QString& fileName)
{
    TSerialDataModule dataModule;
    TGuiPrompts prompts(dataModule.Translator(), [] { return true; });
    dataModule.SetPrompts(&prompts);
    TFormChart chart(&dataModule, nullptr);
    chart.showMaximized();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    const bool opened = chart.OpenLog(fileName);
    chart.SetSpan(TFormChart::Spans().last());
    QCoreApplication::processEvents();
    std::printf("%s: %s, %d rows, opened and drawn in %lld ms\n", qPrintable(fileName),
                opened ? "opened" : "not opened", chart.ShownSamples().Count(), clock.elapsed());
    dataModule.SetPrompts(nullptr);
    return opened ? 0 : 1;
}

// Thirty minutes of samples at 10 a second in the chart's ring, drawn over the
// widest visible window: the growth of the process from the panes already
// shown and drawn empty.
int MeasureMemory()
{
    TSampleRing ring(LiveChannel::Count, TFormChart::HeldSeconds);
    TChartPanes panes(ChartChannels::Labels(nullptr));
    panes.resize(1920, 1000);
    panes.show();
    QCoreApplication::processEvents();
    panes.Draw(&ring, 0, TFormChart::Spans().last());
    QCoreApplication::processEvents();
    const qint64 before = ResidentBytes();

    std::vector<double> values(LiveChannel::Count);
    const int samples = int(TFormChart::HeldSeconds * 10);
    for (int i = 0; i < samples; ++i) {
        for (int channel = 0; channel < LiveChannel::Count; ++channel)
            values[size_t(channel)] = std::sin(i * 0.01 + channel) * 100;
        ring.Append(i / 10.0, values.data());
    }
    panes.Draw(&ring, ring.LastTime() - TFormChart::Spans().last(), ring.LastTime());
    QCoreApplication::processEvents();
    const qint64 after = ResidentBytes();
    std::printf(
        "%d samples (%.0f minutes at 10 a second): the ring holds %.2f MB; the process grew by %.2f MB "
        "with them drawn over %d minutes\n",
        ring.Count(), ring.Count() / 600.0, ring.MemoryBytes() / 1e6, (after - before) / 1e6,
        TFormChart::Spans().last() / 60);
    return 0;
}

int WriteLog(const QString& fileName, int minutes)
{
    TSerialDataModule dataModule;
    dataModule.ApplyDefaults();
    if (dataModule.ConnectToUnit(LinkPort::Usb, 0) != 0) {
        std::fprintf(stderr, "the simulated unit does not answer\n");
        return 1;
    }
    QLibrary library;
    SimUnitControl* unit = SimulatedUnitBesideProgram(library);
    if (!unit) {
        std::fprintf(stderr, "the link library beside the tool is not the simulated unit\n");
        return 1;
    }
    SteppedClock clock;
    TLiveSampler sampler(&dataModule, &clock);
    TLogWriter writer;
    QString error;
    if (!writer.Open(fileName, LiveChannels(), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QObject::connect(&sampler, &TLiveSampler::Sampled,
                     [&writer](const TLogSample& sample) { writer.Write(sample); });
    dataModule.DataRefresher()->SetEnabled(true);
    for (int i = 0; i < minutes * 600; ++i) {
        unit->pinClock(int64_t(clock.ms));
        dataModule.DataRefresher()->ReloadAll();
        clock.ms += 100;
    }
    dataModule.StopRefresher();
    writer.Close();
    unit->unpinClock();
    std::printf("%s: %lld rows, %d minutes\n", qPrintable(fileName), writer.Rows(), minutes);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == QLatin1String("--memory"))
        return MeasureMemory();
    if (mode == QLatin1String("--log") && args.size() >= 2)
        return WriteLog(args.at(1), args.size() > 2 ? args.at(2).toInt() : 30);
    if (mode == QLatin1String("--open-log") && args.size() >= 2)
        return MeasureOpenLog(args.at(1));
    if (mode == QLatin1String("--fitter"))
        return MeasureFitterRun(args.size() > 1 ? args.at(1).toInt() : 20);
    const bool chart = mode == QLatin1String("--chart");
    const QString seconds = chart ? args.value(1) : mode;
    return MeasureWindow(chart, seconds.isEmpty() ? 10 : seconds.toInt());
}
