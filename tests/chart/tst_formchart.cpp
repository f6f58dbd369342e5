// The live chart window: opened from the main window with and without a
// connected unit, with the refresher running while it shows; recording with a
// marker and replaying the log in the same view; a file that is no log refused;
// one time base live, recorded and replayed; a recording across a lost link;
// moving through a replay by keys and markers.

#include "../common/FakePrompts.h"
#include "../common/ManualClock.h"
#include "../common/SimUnit.h"
#include "app/FormMain.h"
#include "chart/ChartDialogs.h"
#include "chart/ChartPane.h"
#include "chart/ChartPanes.h"
#include "chart/FormChart.h"
#include "datalog/LiveChannels.h"
#include "items/DataRefresher.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeChartDialogs : public TChartDialogs {
public:
    QString logFile;
    QString note = QStringLiteral("tip-in");
    QString GetLogFileName(QWidget*, const QString&, const QString&) override { return logFile; }
    QString GetLogFolder(QWidget*, const QString&, const QString&) override { return QString(); }
    bool GetMarkerNote(QWidget*, const QString&, const QString&, QString& text) override
    {
        text = note;
        return true;
    }
};

} // namespace

class TestFormChart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensAndClosesWithAndWithoutTheLink_data();
    void opensAndClosesWithAndWithoutTheLink();
    void recordsMarksAndReplays();
    void timeReadsTheSameLiveAndReplayed();
    void recordingGoesOnAcrossALostLink();
    void replayMovesByKeysAndMarkers();
    void linkKeysWorkInTheChart();

private:
    // Packets every 100 ms of the unit's engine and of the clock.
    void Packets(int count, ManualClock* clock = nullptr);

    SimUnitControl* m_sim = nullptr;
    std::unique_ptr<FakePrompts> m_prompts;
    std::unique_ptr<TSerialDataModule> m_module;
    qint64 m_engineMs = 5000;
};

void TestFormChart::init()
{
    m_sim = FreshSimUnit();
    m_prompts = std::make_unique<FakePrompts>();
    m_module = std::make_unique<TSerialDataModule>();
    m_module->SetPrompts(m_prompts.get());
}

void TestFormChart::cleanup()
{
    m_module->SetPrompts(nullptr);
    m_module.reset();
    m_prompts.reset();
    ResourceLibrary::Free();
}

void TestFormChart::Packets(int count, ManualClock* clock)
{
    for (int i = 0; i < count; ++i) {
        m_sim->pinClock(m_engineMs += 100);
        m_module->DataRefresher()->ReloadAll();
        if (clock)
            clock->Advance(100);
    }
}

void TestFormChart::opensAndClosesWithAndWithoutTheLink_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("disconnected") << false;
}

void TestFormChart::opensAndClosesWithAndWithoutTheLink()
{
    QFETCH(bool, connected);
    auto window = std::make_unique<TFormMain>(m_module.get(), 800);
    window->show();
    if (connected)
        QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    QAction* open = window->Action("ActionChart");
    QVERIFY(open);
    QCOMPARE(open->shortcut(), QKeySequence(Qt::Key_F6));
    open->trigger();
    TFormChart* chart = window->ChartWindow();
    QVERIFY(chart && chart->isVisible());
    QVERIFY(m_module->DataRefresher()->GetEnabled());
    // The window fits an 800x600 screen with its title bar and a desktop panel.
    const QSize least = chart->minimumSizeHint();
    QVERIFY2(least.width() <= 800 && least.height() <= 540,
             qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));

    // The refresher's own passes may add samples too, whenever events run.
    const int before = chart->LiveSamples().Count();
    Packets(5);
    const int taken = chart->LiveSamples().Count();
    QCOMPARE(taken - before, connected ? 5 : 0);

    // Closed, the refresher stops (a pass reads nothing); opened again, it is
    // the same window and the samples are still there.
    chart->close();
    Packets(1);
    QCOMPARE(chart->LiveSamples().Count(), taken);
    open->trigger();
    QCOMPARE(window->ChartWindow(), chart);
    QVERIFY(chart->LiveSamples().Count() >= taken);
    if (connected)
        QTest::keyClick(chart, Qt::Key_Escape);
    else
        window->Disconnect();
    window.reset(); // with or without the chart shown
}

void TestFormChart::recordsMarksAndReplays()
{
    QTemporaryDir folder;
    TOrvRegistryData settings;
    settings.SetStringData("LogFolder", folder.filePath("logs"));
    FakeChartDialogs dialogs;
    ManualClock clock;
    TFormChart chart(m_module.get(), &settings, &dialogs, &clock);
    chart.show();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_module->DataRefresher()->SetEnabled(true);

    Packets(10, &clock);
    QVERIFY(chart.StartRecording());
    QCOMPARE(QFileInfo(chart.RecordingFile()).dir().path(), folder.filePath("logs"));
    Packets(20, &clock);
    QTest::keyClick(&chart, Qt::Key_M);
    Packets(20, &clock);
    const QString log = chart.RecordingFile();
    QTest::keyClick(&chart, Qt::Key_R);
    QVERIFY(!chart.IsRecording());
    QCOMPARE(chart.LiveSamples().Markers().size(), 1);

    // The log holds the 40 samples of the recording and the marked row.
    dialogs.logFile = log;
    QTest::keyClick(&chart, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(chart.IsReplaying());
    const TSampleRing& replay = chart.ShownSamples();
    QCOMPARE(replay.Count(), 41);
    QCOMPARE(replay.Markers().size(), 1);
    QCOMPARE(replay.Markers().first().note, QStringLiteral("tip-in"));
    QCOMPARE(replay.Markers().first().time, 2.0);
    const TSampleRing& live = chart.LiveSamples();
    for (int channel = 0; channel < LiveChannel::Count; ++channel)
        QCOMPARE(replay.Value(40, channel), live.Value(live.Count() - 1, channel));
    // Live samples keep coming in while the log is shown.
    Packets(3, &clock);
    QCOMPARE(chart.LiveSamples().Count(), 53);
    QCOMPARE(chart.ShownSamples().Count(), 41);

    // A file that is not a log leaves the log shown, with a message.
    QVERIFY(!chart.OpenLog(QCoreApplication::applicationFilePath()));
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages.first().text.contains(QCoreApplication::applicationFilePath()));
    QCOMPARE(chart.ShownSamples().Count(), 41);
    QTest::keyClick(&chart, Qt::Key_L);
    QVERIFY(!chart.IsReplaying());

    // Back live, the view follows the newest sample, with the figures of what it shows.
    chart.SetSpan(10);
    Packets(60, &clock);
    chart.UpdateView();
    QCOMPARE(chart.ViewEnd(), chart.LiveSamples().LastTime());
    QVERIFY(chart.findChild<QLabel*>("LabelFigure4")->text() != "-"); // the actuator's mean
}

// Recording starts 3 s into the live samples: from then on the time scale,
// the cursor and the marker read seconds since the recording started, the same
// as the log does when replayed; the newest sample sits at the right edge.
void TestFormChart::timeReadsTheSameLiveAndReplayed()
{
    QTemporaryDir folder;
    TOrvRegistryData settings;
    settings.SetStringData("LogFolder", folder.path());
    FakeChartDialogs dialogs;
    ManualClock clock;
    TFormChart chart(m_module.get(), &settings, &dialogs, &clock);
    chart.show();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_module->DataRefresher()->SetEnabled(true);
    chart.SetSpan(10);
    Packets(30, &clock);
    chart.UpdateView();
    const TChartPane* pane = chart.Panes()->Panes().first();
    const double newest = chart.LiveSamples().LastTime();
    QCOMPARE(pane->TimeMax(), newest);
    QCOMPARE(pane->TimeMin(), newest - 10);

    QVERIFY(chart.StartRecording());
    Packets(1, &clock);
    const double start = chart.LiveSamples().LastTime();
    Packets(24, &clock);
    QTest::keyClick(&chart, Qt::Key_M);
    Packets(10, &clock);
    chart.UpdateView();
    QCOMPARE(chart.TimeOrigin(), start);
    QCOMPARE(pane->TimeMax(), chart.LiveSamples().LastTime() - start);
    const double liveMarker = chart.LiveSamples().Markers().first().time - chart.TimeOrigin();
    QTest::keyClick(&chart, Qt::Key_R);
    QVERIFY(chart.findChild<QLabel*>("LabelStatus")
                ->toolTip()
                .contains(QFileInfo(chart.LastRecording()).fileName()));

    QVERIFY(chart.OpenLog(chart.LastRecording()));
    QCOMPARE(chart.TimeOrigin(), 0.0);
    QCOMPARE(chart.ShownSamples().Markers().first().time, liveMarker);
    QCOMPARE(pane->TimeMin(), 0.0);
    QCOMPARE(pane->TimeMax(), 10.0);
}

// The link lost while recording: the log marks the moment, the live samples
// and the replayed log show a gap there, the gap's cause is known live, and the
// chart shows the link state. The window keeps its size whatever it says.
void TestFormChart::recordingGoesOnAcrossALostLink()
{
    QTemporaryDir folder;
    TOrvRegistryData settings;
    const QString longFolder = folder.filePath(QString(150, u'x'));
    settings.SetStringData("LogFolder", longFolder);
    FakeChartDialogs dialogs;
    ManualClock clock;
    TFormChart chart(m_module.get(), &settings, &dialogs, &clock);
    chart.show();
    const QSize size = chart.size();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    QCoreApplication::postEvent(&chart, new TWindowMessage(WindowMessage::WMLinkState, 0, 1));
    QCoreApplication::processEvents();
    QCOMPARE(chart.findChild<QLabel*>("LabelLink")->text(), m_module->ConnectedText());
    QVERIFY(m_module->DataRefresher()->GetEnabled());
    QVERIFY(chart.StartRecording());
    Packets(20, &clock);

    m_module->OrvConnection()->Instance()->DisconnectUnit();
    QCoreApplication::postEvent(&chart, new TWindowMessage(WindowMessage::WMLinkState, 0, 0));
    QCoreApplication::processEvents();
    QCOMPARE(chart.findChild<QLabel*>("LabelLink")->text(), m_module->NotConnectedText());
    clock.Advance(30000);
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_module->DataRefresher()->SetEnabled(true);
    Packets(20, &clock);
    chart.StopRecording();
    QCOMPARE(chart.size(), size);

    QCOMPARE(chart.LiveSamples().Gaps().size(), 1);
    QCOMPARE(chart.LiveSamples().Gaps().first().cause, TSampleGap::Disconnected);
    QVERIFY(chart.LiveSamples().Gaps().first().to - chart.LiveSamples().Gaps().first().from >= 30);
    QVERIFY(chart.OpenLog(chart.LastRecording()));
    const TSampleRing& log = chart.ShownSamples();
    QCOMPARE(log.Count(), 41);
    QCOMPARE(log.Markers().size(), 1);
    QCOMPARE(log.Gaps().size(), 1);
    QCOMPARE(log.Markers().first().time, log.Gaps().first().from);
    QVERIFY(!log.Markers().first().note.isEmpty());
}

// In a replay the arrows, Page Up/Down and Home/End move the view, Ctrl and
// the arrows go from marker to marker (with the cursor on it), and R records
// nothing.
void TestFormChart::replayMovesByKeysAndMarkers()
{
    QTemporaryDir folder;
    TOrvRegistryData settings;
    settings.SetStringData("LogFolder", folder.path());
    FakeChartDialogs dialogs;
    ManualClock clock;
    TFormChart chart(m_module.get(), &settings, &dialogs, &clock);
    chart.show();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_module->DataRefresher()->SetEnabled(true);
    QVERIFY(chart.StartRecording());
    for (int marker = 0; marker < 3; ++marker) {
        Packets(300, &clock);
        QTest::keyClick(&chart, Qt::Key_M);
    }
    Packets(300, &clock);
    chart.StopRecording();
    QVERIFY(chart.OpenLog(chart.LastRecording()));
    chart.SetSpan(10);
    const double last = chart.ShownSamples().LastTime();

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double end;
    } steps[] = {
        {Qt::Key_Home, Qt::NoModifier, 10},
        {Qt::Key_Right, Qt::NoModifier, 11},
        {Qt::Key_PageDown, Qt::NoModifier, 21},
        {Qt::Key_Left, Qt::NoModifier, 20},
        {Qt::Key_PageUp, Qt::NoModifier, 10},
        {Qt::Key_End, Qt::NoModifier, last},
        {Qt::Key_Home, Qt::NoModifier, 10},
        {Qt::Key_Right, Qt::ControlModifier, chart.ShownSamples().Markers().at(0).time + 5},
        {Qt::Key_Right, Qt::ControlModifier, chart.ShownSamples().Markers().at(1).time + 5},
        {Qt::Key_Left, Qt::ControlModifier, chart.ShownSamples().Markers().at(0).time + 5},
    };
    for (const auto& step : steps) {
        QTest::keyClick(&chart, step.key, step.modifiers);
        QVERIFY2(std::fabs(chart.ViewEnd() - step.end) < 1e-6,
                 qPrintable(QStringLiteral("%1 for %2").arg(chart.ViewEnd()).arg(step.end)));
    }
    QTest::keyClick(&chart, Qt::Key_R);
    QVERIFY(!chart.IsRecording());
}

// Ctrl+D and Ctrl+C in the chart disconnect and connect as in the main window.
void TestFormChart::linkKeysWorkInTheChart()
{
    auto window = std::make_unique<TFormMain>(m_module.get(), 800);
    window->show();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    QCoreApplication::processEvents(); // the link state reaches the windows
    window->Action("ActionChart")->trigger();
    TFormChart* chart = window->ChartWindow();
    chart->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(chart));
    QTest::keySequence(chart, QKeySequence(Qt::CTRL | Qt::Key_D));
    QCoreApplication::processEvents();
    QVERIFY(!m_module->IsUnitConnected());
    QTest::keySequence(chart, QKeySequence(Qt::CTRL | Qt::Key_C));
    QCoreApplication::processEvents();
    QVERIFY(m_module->IsUnitConnected());
    window->Disconnect();
    window.reset();
}

QTEST_MAIN(TestFormChart)
#include "tst_formchart.moc"
