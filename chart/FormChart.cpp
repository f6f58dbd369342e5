#include "chart/FormChart.h"

#include "chart/ChartChannels.h"
#include "chart/ChartDialogs.h"
#include "chart/ChartPanes.h"
#include "chart/ChartReadings.h"
#include "chart/ChartToolbar.h"
#include "chart/RoadTestPane.h"
#include "datalog/LiveChannels.h"
#include "datalog/LogClock.h"
#include "datalog/LoopFigures.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/LiveSampler.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>

namespace {

// While the view follows the live samples it is drawn about 60 times across
// its width, from four times a second (10 s visible) to once a second (a
// minute and more): drawing, not sampling, is what the chart costs.
int RedrawInterval(int spanSeconds)
{
    return std::clamp(spanSeconds * 1000 / 60, 250, 1000);
}
// The scroll bar counts tenths of a second.
constexpr double ScrollSteps = 10;
const QString LogFolderSetting = QStringLiteral("LogFolder");

// The lambda reference the unit applies away from idle.
const QString LambdaReferenceItem = QStringLiteral("RifLambdaFuoriMinimo");

// The default size fits a 1280x800 screen with room for the desktop's panels.
const QSize DefaultSize(1240, 720);

} // namespace

const QList<int>& TFormChart::Spans()
{
    static const QList<int> spans = {10, 30, 60, 120, 300, 600};
    return spans;
}

TFormChart::TFormChart(TSerialDataModule* module, TOrvRegistryData* settings, TChartDialogs* dialogs,
                       const TLogClock* clock, QWidget* parent)
    : QWidget(parent, Qt::Window), m_module(module), m_settings(settings), m_dialogs(dialogs), m_clock(clock),
      m_live(LiveChannel::Count, HeldSeconds)
{
    setObjectName(QStringLiteral("FormChart"));
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<TQtChartDialogs>();
        m_dialogs = m_ownDialogs.get();
    }
    if (!m_clock) {
        m_ownClock = std::make_unique<TSystemClock>();
        m_clock = m_ownClock.get();
    }
    m_sampler = new TLiveSampler(module, m_clock, this);
    connect(m_sampler, &TLiveSampler::Sampled, this, &TFormChart::TakeSample);
    BuildWindow();
    m_redraw = new QTimer(this);
    connect(m_redraw, &QTimer::timeout, this, &TFormChart::Tick);
    m_redraw->start(RedrawInterval(m_span));
    RefreshInterfaceText();
    UpdateLinkState(m_module->IsUnitConnected());
    resize(screen() ? DefaultSize.boundedTo(screen()->availableGeometry().size() * 0.95) : DefaultSize);
}

TFormChart::~TFormChart() = default;

QString TFormChart::Text(int index, const QString& english) const
{
    return m_module->Translator()->GetString(index, english);
}

// --- construction -------------------------------------------------------------

void TFormChart::BuildWindow()
{
    m_tools = new TChartToolbar(Spans(), this);
    m_tools->SpanList()->setCurrentIndex(int(Spans().indexOf(m_span)));
    m_pauseButton = m_tools->Pause();
    m_recordButton = m_tools->Record();
    m_markerButton = m_tools->Marker();
    m_liveButton = m_tools->Live();
    m_spanList = m_tools->SpanList();

    m_panes = new TChartPanes(ChartChannels::Labels(m_module->Translator()), this);
    // The side panel names the channels in their colours: the plots take the legends' room.
    m_panes->SetLegendsVisible(false);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("ScrollTime"));
    m_scroll->setFocusPolicy(Qt::NoFocus);
    // The window takes the keys: no control of it keeps the focus.
    setFocusPolicy(Qt::StrongFocus);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addWidget(m_panes, 1);
    chartColumn->addWidget(m_scroll);
    m_readings = new TChartReadings(this);
    connect(m_readings, &TChartReadings::ChannelToggled, this, [this](int channel, bool on) {
        m_panes->SetChannelVisible(channel, on);
        UpdateView();
    });
    auto* chartBody = new QWidget(this);
    auto* body = new QHBoxLayout(chartBody);
    body->setContentsMargins(0, 0, 0, 0);
    body->addLayout(chartColumn, 1);
    body->addWidget(m_readings);
    m_roadTest = new TRoadTestPane(
        m_module, m_settings, m_dialogs, [this]() -> const TLogData& { return RoadTestLog(); },
        [this] { return RoadTestLogName(); }, this);
    // The chart takes most of the height; the fitter may give the road test
    // more. On a small screen the road test scrolls, so that the window fits.
    auto* roadTestArea = new QScrollArea(this);
    roadTestArea->setWidget(m_roadTest);
    roadTestArea->setWidgetResizable(true);
    roadTestArea->setFrameShape(QFrame::NoFrame);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(chartBody);
    split->addWidget(roadTestArea);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setSizes({DefaultSize.height(), m_roadTest->minimumSizeHint().height()});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4); // every pixel of height counts on an 800x600 screen
    layout->addWidget(m_tools);
    layout->addWidget(split, 1);

    connect(m_pauseButton, &QPushButton::toggled, this, &TFormChart::SetPaused);
    connect(m_liveButton, &QPushButton::clicked, this, &TFormChart::ShowLive);
    connect(m_recordButton, &QPushButton::clicked, this, [this](bool on) {
        if (on)
            StartRecording();
        else
            StopRecording();
    });
    connect(m_markerButton, &QPushButton::clicked, this, &TFormChart::AddMarker);
    connect(m_tools->LogFolder(), &QPushButton::clicked, this, &TFormChart::ChooseLogFolder);
    connect(m_tools->OpenLog(), &QPushButton::clicked, this, &TFormChart::ChooseLog);
    connect(m_tools->ShowFolder(), &QPushButton::clicked, this,
            [this] { m_dialogs->OpenFolder(QFileInfo(m_lastRecording).absolutePath()); });
    connect(m_spanList, &QComboBox::activated, this,
            [this](int index) { SetSpan(Spans().value(index, 60)); });
    connect(m_scroll, &QScrollBar::valueChanged, this, &TFormChart::Scrolled);
    connect(m_panes, &TChartPanes::Clicked, this, &TFormChart::SetCursor);
    connect(m_panes, &TChartPanes::WheelTurned, this, &TFormChart::Zoom);
}

void TFormChart::RefreshInterfaceText()
{
    setWindowTitle(Text(TextIndex::LiveChart, QStringLiteral("Live chart")));
    m_tools->RefreshInterfaceText(m_module->Translator());
    m_scroll->setToolTip(
        Text(TextIndex::ChartMoveKeys, QStringLiteral("Left/Right, Page Up/Down, Home/End: move; "
                                                      "Ctrl+Left/Right: previous/next marker")));
    m_readings->RefreshInterfaceText(m_module->Translator());
    TTranslator* translator = m_module->Translator();
    m_panes->SetLabels(ChartChannels::Labels(translator));
    m_panes->SetBandNames(ChartChannels::LambdaBandNames(translator));
    QStringList causes;
    causes.insert(TSampleGap::Unknown, QString());
    causes.insert(TSampleGap::Disconnected, Text(TextIndex::GapDisconnected, QStringLiteral("Disconnected")));
    causes.insert(TSampleGap::NotWatched, Text(TextIndex::GapChartClosed, QStringLiteral("Chart closed")));
    m_panes->SetGapTexts(causes);
    UpdateLinkState(m_module->IsUnitConnected());
    m_roadTest->RefreshInterfaceText();
    UpdateStatus();
    UpdateView();
}

// --- samples ----------------------------------------------------------------------

void TFormChart::TakeSample(const TLogSample& sample)
{
    if (m_originMs < 0) {
        m_originMs = sample.monotonicMs;
        m_liveStart = sample.time;
    }
    m_last = sample;
    const double time = (sample.monotonicMs - m_originMs) / 1000.0;
    m_live.Append(time, sample.values.constData());
    m_newSamples = true;
    if (IsRecording() && m_writer.Rows() == 0)
        m_recordingOrigin = time;
    if (IsRecording() && !m_writer.Write(sample)) {
        m_recordButton->setChecked(false);
        ShowError(Text(TextIndex::DataLogCannotBeWritten, QStringLiteral("The data log cannot be written.")) +
                  u'\n' + m_writer.FileName());
        UpdateStatus();
    }
}

void TFormChart::Tick()
{
    if (!m_newSamples)
        return;
    m_newSamples = false;
    if (!m_replay && !m_paused)
        UpdateView();
    else if (!m_replay)
        UpdateScrollBar();
    if (IsRecording())
        UpdateStatus();
}

// --- the view -----------------------------------------------------------------------

void TFormChart::UpdateView()
{
    const TSampleRing& ring = ShownSamples();
    // Following, the newest sample sits at the right edge.
    if (!m_replay && !m_paused && !ring.IsEmpty())
        m_end = ring.LastTime();
    const double from = m_end - m_span;
    UpdateLambdaReference();
    m_panes->Draw(&ring, from, m_end, m_cursor, TimeOrigin());
    UpdateScrollBar();
    UpdateReadings(from, m_end);
}

void TFormChart::UpdateScrollBar()
{
    const TSampleRing& ring = ShownSamples();
    const QSignalBlocker blocker(m_scroll);
    if (ring.IsEmpty()) {
        m_scroll->setRange(0, 0);
        return;
    }
    const int low = int(std::lround(std::min(ring.FirstTime() + m_span, ring.LastTime()) * ScrollSteps));
    const int high = std::max(low, int(std::lround(ring.LastTime() * ScrollSteps)));
    m_scroll->setRange(low, high);
    m_scroll->setPageStep(int(m_span * ScrollSteps));
    m_scroll->setSingleStep(int(m_span * ScrollSteps / 10));
    m_scroll->setValue(int(std::lround(m_end * ScrollSteps)));
}

double TFormChart::TimeOrigin() const
{
    if (m_replay)
        return 0;
    return IsRecording() || !m_lastRecording.isEmpty() ? m_recordingOrigin : 0;
}

void TFormChart::UpdateReadings(double from, double to)
{
    const TSampleRing& ring = ShownSamples();
    int row = -1;
    if (!std::isnan(m_cursor))
        row = ring.Nearest(m_cursor);
    else if (!ring.IsEmpty())
        row = std::max(0, ring.LowerBound(std::nextafter(to, TSampleRing::Unlimited)) - 1);
    m_readings->Show(ring, row, TimeOrigin(), from, to);
}

// The line at the lambda reference, once the unit's configuration is known.
void TFormChart::UpdateLambdaReference()
{
    auto* item = qobject_cast<TOrvNumber*>(m_module->Item(LambdaReferenceItem));
    if (!item || !item->IsDataLoaded()) {
        m_panes->SetLambdaReference(NAN, QString());
        return;
    }
    const double volts = item->ConvertValueToUser(item->RawValue());
    m_panes->SetLambdaReference(
        volts, QStringLiteral("%1 %2 V")
                   .arg(Text(TextIndex::LambdaReferenceLine, QStringLiteral("Lambda reference")))
                   .arg(volts, 0, 'f', 2));
}

void TFormChart::UpdateStatus()
{
    QString text;
    if (IsRecording())
        text = QStringLiteral("%1: %2 (%3)")
                   .arg(Text(TextIndex::ChartRecording, QStringLiteral("Recording")),
                        QFileInfo(m_writer.FileName()).fileName())
                   .arg(m_writer.Rows());
    else if (!m_lastRecording.isEmpty())
        text = QStringLiteral("%1: %2").arg(
            Text(TextIndex::RecordingSavedIn, QStringLiteral("Recording saved in")),
            QDir::toNativeSeparators(m_lastRecording));
    if (m_replay) {
        const QString replay = QStringLiteral("%1: %2").arg(
            Text(TextIndex::ChartReplay, QStringLiteral("Replay")), QFileInfo(m_replayFile).fileName());
        text = text.isEmpty() || !IsRecording() ? replay : replay + QStringLiteral(" | ") + text;
    }
    m_tools->SetStatus(text);
    m_tools->SetRecording(IsRecording());
    // A log shown is not recorded; a recording going on may still be stopped.
    m_recordButton->setEnabled(!m_replay || IsRecording());
    m_tools->ShowFolder()->setEnabled(!m_replay && !IsRecording() && !m_lastRecording.isEmpty());
    m_liveButton->setEnabled(m_replay != nullptr);
    m_markerButton->setEnabled(!m_replay);
}

void TFormChart::UpdateLinkState(bool connected)
{
    const QString on = m_module->ConnectedText();
    const QString off = m_module->NotConnectedText();
    m_tools->SetLinkState(connected, connected ? on : off, connected ? off : on);
}

// The link went down: the gap that follows says so, and a recording going on
// marks the moment.
void TFormChart::LinkLost()
{
    UpdateLinkState(false);
    m_live.SetNextGapCause(TSampleGap::Disconnected);
    if (!IsRecording() || m_writer.Rows() == 0)
        return;
    TLogSample marked = m_last;
    marked.monotonicMs = m_clock->MonotonicMs();
    marked.time = m_clock->Now();
    m_writer.Write(marked, true, Text(TextIndex::GapDisconnected, QStringLiteral("Disconnected")));
    UpdateStatus();
}

void TFormChart::SetPaused(bool paused)
{
    // The view freezes where the newest sample is, drawn or not yet.
    if (paused && !m_paused && !m_replay)
        UpdateView();
    m_paused = paused;
    if (m_pauseButton->isChecked() != paused)
        m_pauseButton->setChecked(paused);
    UpdateView();
}

void TFormChart::SetSpan(int seconds)
{
    if (!Spans().contains(seconds))
        return;
    m_span = seconds;
    m_spanList->setCurrentIndex(int(Spans().indexOf(seconds)));
    m_redraw->setInterval(RedrawInterval(seconds));
    const TSampleRing& ring = ShownSamples();
    if ((m_replay || m_paused) && !ring.IsEmpty())
        m_end = std::clamp(m_end, ring.FirstTime() + m_span,
                           std::max(ring.LastTime(), ring.FirstTime() + m_span));
    UpdateView();
}

void TFormChart::MoveView(double seconds)
{
    MoveViewTo(m_end + seconds);
}

void TFormChart::MoveViewTo(double end)
{
    const TSampleRing& ring = ShownSamples();
    if (ring.IsEmpty())
        return;
    const double last = ring.LastTime();
    m_end = std::clamp(end, std::min(ring.FirstTime() + m_span, last), last);
    if (!m_replay && m_end >= last) {
        SetPaused(false);
        return;
    }
    if (!m_replay && !m_paused) {
        m_paused = true; // held where it was moved to, not at the newest sample
        m_pauseButton->setChecked(true);
    }
    UpdateView();
}

// The next marker after the cursor (or the view's middle) comes to the middle
// of the view, with the cursor on it.
void TFormChart::JumpToMarker(int direction)
{
    const double from = std::isnan(m_cursor) ? m_end - m_span / 2.0 : m_cursor;
    const QList<TLogMarker>& markers = ShownSamples().Markers();
    double target = NAN;
    for (const TLogMarker& marker : markers) {
        if (direction > 0 && marker.time > from + 1e-6) {
            target = marker.time;
            break;
        }
        if (direction < 0 && marker.time < from - 1e-6)
            target = marker.time;
    }
    if (std::isnan(target))
        return;
    m_cursor = target;
    MoveViewTo(target + m_span / 2.0);
}

void TFormChart::SetCursor(double time)
{
    m_cursor = time;
    UpdateView();
}

// Scrolling back holds a live view; scrolled to the end, it follows again.
void TFormChart::Scrolled(int value)
{
    MoveViewTo(value == m_scroll->maximum() ? TSampleRing::Unlimited : value / ScrollSteps);
}

// A turn of the wheel away from the user narrows the visible window.
void TFormChart::Zoom(int steps)
{
    const int index = int(Spans().indexOf(m_span)) - steps;
    SetSpan(Spans().at(std::clamp(index, 0, int(Spans().size()) - 1)));
}

// --- recording ------------------------------------------------------------------------

QString TFormChart::LogFolder() const
{
    const QString chosen = m_settings ? m_settings->GetStringData(LogFolderSetting) : QString();
    return chosen.isEmpty() ? TLogWriter::DefaultFolder() : chosen;
}

bool TFormChart::StartRecording()
{
    if (IsRecording())
        return true;
    const QString folder = LogFolder();
    const QString fileName = QDir(folder).filePath(TLogWriter::FileNameFor(m_clock->Now()));
    QString error;
    const bool opened = QDir().mkpath(folder) && m_writer.Open(fileName, LiveChannels(), error);
    if (opened)
        m_lastRecording.clear();
    m_recordButton->setChecked(opened);
    UpdateStatus();
    if (!opened)
        ShowError(Text(TextIndex::DataLogCannotBeWritten, QStringLiteral("The data log cannot be written.")) +
                  u'\n' + fileName + (error.isEmpty() ? QString() : u'\n' + error));
    return opened;
}

void TFormChart::StopRecording()
{
    const bool recorded = IsRecording();
    if (recorded)
        m_lastRecording = m_writer.FileName();
    m_writer.Close();
    if (recorded)
        emit LogRecorded(m_lastRecording);
    m_recordButton->setChecked(false);
    UpdateStatus();
}

void TFormChart::AddMarker()
{
    if (m_replay || m_originMs < 0)
        return;
    QString note;
    if (!m_dialogs->GetMarkerNote(
            this, Text(TextIndex::ChartMarker, QStringLiteral("Marker")),
            Text(TextIndex::MarkerNotePrompt, QStringLiteral("Note (may be left empty):")), note))
        return;
    // The marked row holds the newest values at the moment of the marker.
    TLogSample marked = m_last;
    marked.monotonicMs = m_clock->MonotonicMs();
    marked.time = m_clock->Now();
    m_live.AddMarker((marked.monotonicMs - m_originMs) / 1000.0, note);
    if (IsRecording())
        m_writer.Write(marked, true, note);
    UpdateView();
}

void TFormChart::ChooseLogFolder()
{
    const QString folder = m_dialogs->GetLogFolder(
        this, Text(TextIndex::ChooseLogFolder, QStringLiteral("Choose the folder for data logs")),
        LogFolder());
    if (folder.isEmpty() || !m_settings)
        return;
    m_settings->SetStringData(LogFolderSetting, folder);
    m_settings->SaveData();
}

// --- replay ----------------------------------------------------------------------------

void TFormChart::ChooseLog()
{
    const QString fileName = m_dialogs->GetLogFileName(
        this, Text(TextIndex::OpenDataLog, QStringLiteral("Open a data log")), LogFolder());
    if (!fileName.isEmpty())
        OpenLog(fileName);
}

bool TFormChart::OpenLog(const QString& fileName)
{
    auto data = std::make_unique<TLogData>();
    QString error;
    if (!LogReader::Read(fileName, *data, error)) {
        ShowError(
            Text(TextIndex::NotADataLog, QStringLiteral("The file is not a data log of this program.")) +
            u'\n' + fileName + QStringLiteral("\n(") + error + u')');
        return false;
    }
    m_replay = std::move(data);
    m_replayFile = fileName;
    m_cursor = NAN;
    m_end = m_replay->samples.IsEmpty() ? m_span : m_replay->samples.FirstTime() + m_span;
    UpdateStatus();
    UpdateView();
    m_roadTest->Check();
    return true;
}

void TFormChart::ShowLive()
{
    m_replay.reset();
    m_replayFile.clear();
    m_cursor = NAN;
    UpdateStatus();
    SetPaused(false);
}

// --- the road test -------------------------------------------------------------------------

void TFormChart::SetUndoRecorder(TUndoRecorder* recorder)
{
    m_roadTest->SetUndoRecorder(recorder);
}

const TLogData& TFormChart::RoadTestLog()
{
    if (m_replay)
        return *m_replay;
    m_liveLog.start = m_liveStart;
    m_liveLog.samples = m_live;
    return m_liveLog;
}

QString TFormChart::RoadTestLogName() const
{
    return QFileInfo(m_replay ? m_replayFile : m_writer.FileName()).fileName();
}

void TFormChart::ShowError(const QString& text)
{
    m_module->Prompts()->ShowMessage(TMessageIcon::Error, windowTitle(), text);
}

// --- the window --------------------------------------------------------------------------

void TFormChart::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_module->DataRefresher()->SetEnabled(true);
    UpdateLinkState(m_module->IsUnitConnected());
    UpdateView();
}

// Closing the window ends a recording; moving it over another window does not.
void TFormChart::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    StopRecording();
    m_live.SetNextGapCause(TSampleGap::NotWatched);
    emit Closed();
}

bool TFormChart::event(QEvent* event)
{
    // A unit connected while the window shows: the connection leaves the
    // refresher off, the window turns it on again.
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMLinkState) {
            if (message->lParam() != 1) {
                LinkLost();
                return true;
            }
            UpdateLinkState(true);
            if (isVisible())
                m_module->DataRefresher()->SetEnabled(true);
            return true;
        }
    }
    return QWidget::event(event);
}

// Arrows move by a tenth of the visible window, Page Up and Down by all of it,
// Home and End to the first and newest sample; with Ctrl the arrows go from
// marker to marker.
bool TFormChart::NavigationKey(const QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        if (control)
            JumpToMarker(-1);
        else
            MoveView(-m_span / 10.0);
        return true;
    case Qt::Key_Right:
        if (control)
            JumpToMarker(1);
        else
            MoveView(m_span / 10.0);
        return true;
    case Qt::Key_PageUp:
        MoveView(-m_span);
        return true;
    case Qt::Key_PageDown:
        MoveView(m_span);
        return true;
    case Qt::Key_Home:
        MoveViewTo(-TSampleRing::Unlimited);
        return true;
    case Qt::Key_End:
        MoveViewTo(TSampleRing::Unlimited);
        return true;
    default:
        return false;
    }
}

void TFormChart::keyPressEvent(QKeyEvent* event)
{
    if (NavigationKey(event))
        return;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        SetPaused(!m_paused);
        return;
    case Qt::Key_R:
        if (m_replay)
            return; // a log shown is not what a recording would hold
        if (IsRecording())
            StopRecording();
        else
            StartRecording();
        return;
    case Qt::Key_M:
        AddMarker();
        return;
    case Qt::Key_L:
        if (m_replay)
            ShowLive();
        return;
    case Qt::Key_O:
        if (control) {
            ChooseLog();
            return;
        }
        break;
    case Qt::Key_Plus:
        Zoom(1);
        return;
    case Qt::Key_Minus:
        Zoom(-1);
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
