#include "chart/FormChart.h"

#include "model/LiveSampler.h"
#include "model/SerialDataModule.h"
#include "chart/ChartChannels.h"
#include "chart/ChartDialogs.h"
#include "chart/ChartPanes.h"
#include "chart/RoadTestPane.h"
#include "datalog/LiveChannels.h"
#include "datalog/LogClock.h"
#include "datalog/LoopFigures.h"
#include "items/DataRefresher.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
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

QString SpanText(int seconds)
{
    return seconds < 60 ? QStringLiteral("%1 s").arg(seconds) : QStringLiteral("%1 min").arg(seconds / 60);
}

QString Percent(double share)
{
    return QStringLiteral("%1 %").arg(share * 100, 0, 'f', 0);
}

QPushButton* Button(QWidget* parent, const char* name, bool checkable = false)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(checkable);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

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
    resize(1000, 700);
}

TFormChart::~TFormChart() = default;

QString TFormChart::Text(int index, const QString& english) const
{
    return m_module->Translator()->GetString(index, english);
}

// --- construction -------------------------------------------------------------

void TFormChart::BuildWindow()
{
    m_pauseButton = Button(this, "ButtonPause", true);
    m_recordButton = Button(this, "ButtonRecord", true);
    m_markerButton = Button(this, "ButtonMarker");
    m_openButton = Button(this, "ButtonOpenLog");
    m_liveButton = Button(this, "ButtonLive");
    m_folderButton = Button(this, "ButtonLogFolder");
    m_spanLabel = new QLabel(this);
    m_spanList = new QComboBox(this);
    m_spanList->setObjectName(QStringLiteral("ComboSpan"));
    m_spanList->setFocusPolicy(Qt::NoFocus);
    for (const int seconds : Spans())
        m_spanList->addItem(SpanText(seconds), seconds);
    m_spanList->setCurrentIndex(int(Spans().indexOf(m_span)));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LabelStatus"));

    auto* tools = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(m_pauseButton), static_cast<QWidget*>(m_liveButton),
                            static_cast<QWidget*>(m_spanLabel), static_cast<QWidget*>(m_spanList)})
        tools->addWidget(widget);
    tools->addSpacing(20);
    for (QWidget* widget : {m_recordButton, m_markerButton, m_folderButton, m_openButton})
        tools->addWidget(widget);
    tools->addSpacing(20);
    tools->addWidget(m_status, 1);

    m_panes = new TChartPanes(ChartChannels::Labels(m_module->Translator()), this);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("ScrollTime"));
    m_scroll->setFocusPolicy(Qt::NoFocus);
    // The window takes the keys: no control of it keeps the focus.
    setFocusPolicy(Qt::StrongFocus);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addWidget(m_panes, 1);
    chartColumn->addWidget(m_scroll);
    auto* body = new QHBoxLayout;
    body->addLayout(chartColumn, 1);
    body->addWidget(BuildSidePanel());
    m_roadTest = new TRoadTestPane(
        m_module, m_settings, m_dialogs, [this]() -> const TLogData& { return RoadTestLog(); },
        [this] { return RoadTestLogName(); }, this);
    m_roadTest->setMaximumHeight(260);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(body, 1);
    layout->addWidget(m_roadTest);

    connect(m_pauseButton, &QPushButton::toggled, this, &TFormChart::SetPaused);
    connect(m_liveButton, &QPushButton::clicked, this, &TFormChart::ShowLive);
    connect(m_recordButton, &QPushButton::clicked, this, [this](bool on) {
        if (on)
            StartRecording();
        else
            StopRecording();
    });
    connect(m_markerButton, &QPushButton::clicked, this, &TFormChart::AddMarker);
    connect(m_folderButton, &QPushButton::clicked, this, &TFormChart::ChooseLogFolder);
    connect(m_openButton, &QPushButton::clicked, this, &TFormChart::ChooseLog);
    connect(m_spanList, &QComboBox::activated, this, [this](int index) { SetSpan(Spans().value(index, 60)); });
    connect(m_scroll, &QScrollBar::valueChanged, this, &TFormChart::Scrolled);
    connect(m_panes, &TChartPanes::Clicked, this, &TFormChart::SetCursor);
    connect(m_panes, &TChartPanes::WheelTurned, this, &TFormChart::Zoom);
}

// The channels with their colour, a box each to switch them and their value at
// the cursor; below them the figures of the visible window.
QWidget* TFormChart::BuildSidePanel()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 0, 0, 0);
    m_cursorTitle = new QLabel(panel);
    grid->addWidget(m_cursorTitle, 0, 0, 1, 2);
    int row = 1;
    for (int channel = 0; channel < LiveChannel::Count; ++channel) {
        auto* box = new QCheckBox(panel);
        box->setObjectName(QStringLiteral("CheckChannel%1").arg(channel));
        box->setChecked(true);
        box->setFocusPolicy(Qt::NoFocus);
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, ChartChannels::All().at(channel).colour.darker(130));
        box->setPalette(palette);
        auto* value = new QLabel(panel);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("00000.00")));
        grid->addWidget(box, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        connect(box, &QCheckBox::toggled, this, [this, channel](bool on) {
            m_panes->SetChannelVisible(channel, on);
            UpdateView();
        });
        m_channelBoxes << box;
        m_valueLabels << value;
    }
    grid->setRowMinimumHeight(row++, 12);
    m_figuresTitle = new QLabel(panel);
    grid->addWidget(m_figuresTitle, row++, 0, 1, 2);
    for (int figure = 0; figure < 6; ++figure) {
        auto* name = new QLabel(panel);
        auto* value = new QLabel(panel);
        value->setObjectName(QStringLiteral("LabelFigure%1").arg(figure));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(name, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        m_figureNames << name;
        m_figureValues << value;
    }
    grid->setRowStretch(row, 1);
    return panel;
}

void TFormChart::RefreshInterfaceText()
{
    setWindowTitle(Text(TextIndex::LiveChart, QStringLiteral("Live chart")));
    m_pauseButton->setText(Text(TextIndex::ChartPause, QStringLiteral("Pause")) + QStringLiteral(" [Space]"));
    m_liveButton->setText(Text(TextIndex::ChartGoLive, QStringLiteral("Live")) + QStringLiteral(" [L]"));
    m_markerButton->setText(Text(TextIndex::ChartMarker, QStringLiteral("Marker")) + QStringLiteral(" [M]"));
    m_openButton->setText(Text(TextIndex::ChartOpenLog, QStringLiteral("Open log...")) +
                          QStringLiteral(" [Ctrl+O]"));
    m_folderButton->setText(Text(TextIndex::ChartLogFolder, QStringLiteral("Log folder...")));
    m_spanLabel->setText(Text(TextIndex::ChartVisibleWindow, QStringLiteral("Visible window")));
    m_figuresTitle->setText(
        Text(TextIndex::VisibleWindowFigures, QStringLiteral("Figures of the visible window")));
    const QStringList labels = ChartChannels::Labels(m_module->Translator());
    for (int channel = 0; channel < m_channelBoxes.size(); ++channel)
        m_channelBoxes[channel]->setText(labels.at(channel));
    m_panes->SetLabels(labels);
    const QList<QPair<int, const char*>> figures = {{TextIndex::LambdaSwitching, "Lambda switching"},
                                                    {TextIndex::LambdaLean, "Lean"},
                                                    {TextIndex::LambdaInBand, "In band"},
                                                    {TextIndex::LambdaRich, "Rich"},
                                                    {TextIndex::ActuatorMean, "Actuator mean"},
                                                    {TextIndex::ActuatorSpan, "Actuator span"}};
    for (int figure = 0; figure < figures.size(); ++figure)
        m_figureNames[figure]->setText(Text(figures[figure].first, QLatin1String(figures[figure].second)));
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
    m_live.Append((sample.monotonicMs - m_originMs) / 1000.0, sample.values.constData());
    m_newSamples = true;
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
    const bool following = !m_replay && !m_paused;
    if (following && !ring.IsEmpty())
        m_end = std::max(ring.LastTime(), ring.FirstTime() + m_span);
    const double from = m_end - m_span;
    // Following, the time scale counts the seconds back from the right edge.
    m_panes->Draw(&ring, from, m_end, m_cursor, following ? m_end : 0);
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
    const int low = int(std::lround((ring.FirstTime() + m_span) * ScrollSteps));
    const int high = std::max(low, int(std::lround(ring.LastTime() * ScrollSteps)));
    m_scroll->setRange(low, high);
    m_scroll->setPageStep(int(m_span * ScrollSteps));
    m_scroll->setSingleStep(int(m_span * ScrollSteps / 10));
    m_scroll->setValue(int(std::lround(m_end * ScrollSteps)));
}

void TFormChart::UpdateReadings(double from, double to)
{
    const TSampleRing& ring = ShownSamples();
    int row = -1;
    if (!std::isnan(m_cursor))
        row = ring.Nearest(m_cursor);
    else if (!ring.IsEmpty())
        row = std::max(0, ring.LowerBound(std::nextafter(to, TSampleRing::Unlimited)) - 1);
    const QString cursor = Text(TextIndex::ChartCursor, QStringLiteral("Cursor"));
    m_cursorTitle->setText(row < 0 ? cursor
                                   : QStringLiteral("%1: %2 s").arg(cursor).arg(ring.Time(row), 0, 'f', 1));
    for (int channel = 0; channel < m_valueLabels.size(); ++channel) {
        m_valueLabels[channel]->setText(
            row < 0 ? QStringLiteral("-")
                    : QString::number(ring.Value(row, channel), 'f', ChartChannels::All().at(channel).decimals));
    }
    const TLoopFigures figures = LoopFigures::Compute(ring, from, to);
    const QStringList values =
        figures.valid ? QStringList{QStringLiteral("%1 /s").arg(figures.switchingRate, 0, 'f', 2),
                                    Percent(figures.leanShare), Percent(figures.inBandShare),
                                    Percent(figures.richShare), QString::number(figures.actuatorMean, 'f', 1),
                                    QString::number(figures.actuatorSpan, 'f', 0)}
                      : QStringList();
    for (int figure = 0; figure < m_figureValues.size(); ++figure)
        m_figureValues[figure]->setText(values.value(figure, QStringLiteral("-")));
}

void TFormChart::UpdateStatus()
{
    QString text;
    if (IsRecording())
        text = QStringLiteral("%1: %2 (%3)")
                   .arg(Text(TextIndex::ChartRecording, QStringLiteral("Recording")),
                        QFileInfo(m_writer.FileName()).fileName())
                   .arg(m_writer.Rows());
    if (m_replay) {
        const QString replay = QStringLiteral("%1: %2").arg(
            Text(TextIndex::ChartReplay, QStringLiteral("Replay")), QFileInfo(m_replayFile).fileName());
        text = text.isEmpty() ? replay : replay + QStringLiteral(" | ") + text;
    }
    m_status->setText(text);
    m_recordButton->setText(
        IsRecording() ? Text(TextIndex::ChartStopRecording, QStringLiteral("Stop recording"))
                      : Text(TextIndex::ChartRecord, QStringLiteral("Record")) + QStringLiteral(" [R]"));
    m_liveButton->setEnabled(m_replay != nullptr);
    m_markerButton->setEnabled(!m_replay);
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
        m_end = std::clamp(m_end, ring.FirstTime() + m_span, std::max(ring.LastTime(), ring.FirstTime() + m_span));
    UpdateView();
}

void TFormChart::SetCursor(double time)
{
    m_cursor = time;
    UpdateView();
}

void TFormChart::Scrolled(int value)
{
    m_end = value / ScrollSteps;
    if (!m_replay && !m_paused)
        SetPaused(true); // scrolling back holds the view
    else
        UpdateView();
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
    m_recordButton->setChecked(opened);
    UpdateStatus();
    if (!opened)
        ShowError(Text(TextIndex::DataLogCannotBeWritten, QStringLiteral("The data log cannot be written.")) +
                  u'\n' + fileName + (error.isEmpty() ? QString() : u'\n' + error));
    return opened;
}

void TFormChart::StopRecording()
{
    m_writer.Close();
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
    UpdateView();
}

// Closing the window ends a recording; moving it over another window does not.
void TFormChart::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    StopRecording();
    emit Closed();
}

bool TFormChart::event(QEvent* event)
{
    // A unit connected while the window shows: the connection leaves the
    // refresher off, the window turns it on again.
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMLinkState) {
            if (message->lParam() == 1 && isVisible())
                m_module->DataRefresher()->SetEnabled(true);
            return true;
        }
    }
    return QWidget::event(event);
}

void TFormChart::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        SetPaused(!m_paused);
        return;
    case Qt::Key_R:
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
