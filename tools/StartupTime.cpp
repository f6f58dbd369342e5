// Measures how long the configurator takes to show its first window, against
// two yardsticks started the same way in the same run: a bare Qt window, and a
// window with a menu and text (a menu bar, one line of text, a status-bar line:
// what the toolkit needs before any program's window with a menu and text can
// appear).
//
//   tzr582-startup [RUNS]        (under an X server; scripts/measure-startup
//                                 starts one with Xvfb)
//
// The three programs beside this tool, tzr582, tzr582-bare-window and
// tzr582-text-window, are started in turn, RUNS times each (7 when none is
// given) after one warming-up start of each that is not counted. A start is
// timed from the moment the process is launched to the moment the X server
// maps its first top-level window; the process is then ended. All run with a
// HOME of their own (a temporary folder), so the user's settings and the
// simulated unit's memory are neither read nor changed. Prints every start,
// the medians and their ratios.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

constexpr int StartTimeoutMs = 20000;

// Watches the X server for top-level windows being mapped.
class MapWatcher {
public:
    MapWatcher() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool Ok() const { return m_ok; }

    // Drops the events that arrived so far.
    void Drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            free(event);
    }

    // Waits until a top-level window that is not an override-redirect one (a
    // tooltip or pop-up) is mapped; false when none is within timeoutMs.
    bool WaitForMap(int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                                    !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
                free(event);
                if (mapped)
                    return true;
            }
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&descriptor, 1, int(timeoutMs - waited.elapsed()));
        }
        return false;
    }

private:
    xcb_connection_t* m_connection;
    bool m_ok = false;
};

// Starts the program and answers the milliseconds to its first mapped window,
// or -1 when it showed none.
double TimeToFirstWindow(MapWatcher& watcher, const QString& program, const QProcessEnvironment& environment)
{
    watcher.Drain();
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    const bool shown = watcher.WaitForMap(StartTimeoutMs);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return shown ? elapsed : -1;
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 7;
    if (runs < 1) {
        std::fprintf(stderr, "usage: %s [RUNS]\n", argv[0]);
        return 2;
    }
    MapWatcher watcher;
    if (!watcher.Ok()) {
        std::fprintf(stderr, "no X server (is DISPLAY set? scripts/measure-startup starts one)\n");
        return 1;
    }
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    constexpr int Programs = 3;
    const QString programs[Programs] = {folder + QStringLiteral("tzr582"),
                                        folder + QStringLiteral("tzr582-bare-window"),
                                        folder + QStringLiteral("tzr582-text-window")};
    const char* names[Programs] = {"tzr582", "bare Qt window", "text window"};
    QList<double> times[Programs];
    for (int run = 0; run <= runs; ++run) {
        for (int which = 0; which < Programs; ++which) {
            const double ms = TimeToFirstWindow(watcher, programs[which], environment);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window\n", qPrintable(programs[which]));
                return 1;
            }
            std::printf("%-6s %-15s %7.1f ms%s\n", run == 0 ? "warm" : qPrintable(QString::number(run)),
                        names[which], ms, run == 0 ? " (not counted)" : "");
            if (run > 0)
                times[which] << ms;
        }
    }
    const double program = Median(times[0]);
    const double bare = Median(times[1]);
    const double text = Median(times[2]);
    std::printf("median of %d: tzr582 %.1f ms, bare Qt window %.1f ms, ratio %.2f\n", runs, program, bare,
                program / bare);
    std::printf("window with a menu and text %.1f ms, ratio %.2f to the bare window; tzr582 to it %.2f\n",
                text, text / bare, program / text);
    return 0;
}
