#pragma once

// TFormChart, the live chart window: the live values against time in stacked
// panes, channels switched on and off beside them with each one's value at the
// cursor, and the figures that judge the lambda loop over the visible window.
// It samples the live packet items each time the refresher has updated them,
// and holds the last 30 minutes. The view follows the newest sample until it
// is paused or scrolled back; the visible window goes from 10 s to 10 min.
//
// It records the samples to a data log in the folder the user chose (a marker
// adds a marked row with a note, and so does a loss of the link), and opens a
// recorded log for replay in the same view; live samples keep being collected
// meanwhile. Times read the same everywhere: seconds since the start of the
// recording (of the live samples when none was made) or of the log.
//
// The window shows the link state; the main window's Connect and Disconnect
// actions answer their keys here too.
//
// The main window shows it and runs the refresher while it is shown; the
// window enables the refresher again when a unit connects while it shows.

#include "datalog/LogReader.h"
#include "datalog/LogWriter.h"
#include "datalog/SampleRing.h"

#include <QWidget>
#include <cmath>
#include <memory>

class QComboBox;
class QPushButton;
class QScrollBar;
class QTimer;
class TChartDialogs;
class TChartPanes;
class TChartReadings;
class TChartToolbar;
class TLiveSampler;
class TLogClock;
class TOrvRegistryData;
class TRoadTestPane;
class TSerialDataModule;
class TUndoRecorder;

class TFormChart : public QWidget {
    Q_OBJECT

public:
    // The visible windows offered, in seconds; the first shown is a minute.
    static const QList<int>& Spans();
    // The live samples held.
    static constexpr double HeldSeconds = 30 * 60;

    // settings keeps the log folder (may be null: the default folder); dialogs
    // and clock are the seams (null: the toolkit's dialogs, the system clock).
    // None is owned.
    TFormChart(TSerialDataModule* module, TOrvRegistryData* settings, TChartDialogs* dialogs = nullptr,
               const TLogClock* clock = nullptr, QWidget* parent = nullptr);
    ~TFormChart() override;

    void RefreshInterfaceText();

    // Recording.
    bool StartRecording();
    void StopRecording();
    bool IsRecording() const { return m_writer.IsOpen(); }
    QString RecordingFile() const { return m_writer.FileName(); }
    // Marks the moment with a note (asked through the dialogs).
    void AddMarker();
    QString LogFolder() const;

    // Replay of a recorded log; false (after a message) when it is not one.
    bool OpenLog(const QString& fileName);
    void ShowLive();
    bool IsReplaying() const { return m_replay != nullptr; }
    // The file the last recording went to (empty before one).
    QString LastRecording() const { return m_lastRecording; }

    // The view.
    void SetPaused(bool paused);
    bool IsPaused() const { return m_paused; }
    void SetSpan(int seconds);
    int Span() const { return m_span; }
    void SetCursor(double time);
    const TSampleRing& LiveSamples() const { return m_live; }
    // The samples shown: the live ones or the log's.
    const TSampleRing& ShownSamples() const { return m_replay ? m_replay->samples : m_live; }
    double ViewEnd() const { return m_end; }
    // The time the shown samples count from: the start of the recording or log.
    double TimeOrigin() const;
    // Draws the view now (the window also does so on its timer).
    void UpdateView();
    TChartPanes* Panes() const { return m_panes; }
    // The road-test check over the log shown.
    TRoadTestPane* RoadTest() const { return m_roadTest; }
    // The history the road test's applied suggestions join (may be null).
    void SetUndoRecorder(TUndoRecorder* recorder);

signals:
    void Closed();
    // A data log was recorded to the end, in fileName.
    void LogRecorded(const QString& fileName);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildWindow();
    void TakeSample(const TLogSample& sample);
    void Tick();
    void UpdateScrollBar();
    void UpdateReadings(double from, double to);
    void UpdateStatus();
    void UpdateLinkState(bool connected);
    void LinkLost();
    void UpdateLambdaReference();
    // Moves the view by seconds, or to end at a time; a live view stops
    // following the newest sample, and follows it again brought to the end.
    void MoveView(double seconds);
    void MoveViewTo(double end);
    void JumpToMarker(int direction);
    bool NavigationKey(const QKeyEvent* event);
    void Scrolled(int value);
    void Zoom(int steps);
    void ChooseLogFolder();
    void ChooseLog();
    void ShowError(const QString& text);
    QString Text(int index, const QString& english) const;
    // The log the road test checks: the one opened for replay, else the live
    // samples held (the last recording among them), and its file's name.
    const TLogData& RoadTestLog();
    QString RoadTestLogName() const;

    TSerialDataModule* m_module;
    TOrvRegistryData* m_settings;
    std::unique_ptr<TChartDialogs> m_ownDialogs;
    TChartDialogs* m_dialogs;
    std::unique_ptr<TLogClock> m_ownClock;
    const TLogClock* m_clock;
    TLiveSampler* m_sampler = nullptr;

    TSampleRing m_live;
    std::unique_ptr<TLogData> m_replay;
    QString m_replayFile;
    qint64 m_originMs = -1; // the clock's count at the first live sample
    TLogSample m_last;      // the newest live sample
    QDateTime m_liveStart;  // the time of the first live sample
    TLogData m_liveLog;     // the live samples as the road test checks them
    TLogWriter m_writer;
    double m_recordingOrigin = 0; // the live time of the recording's first row
    QString m_lastRecording;

    int m_span = 60;
    double m_end = 0;
    bool m_paused = false;
    bool m_newSamples = false;
    double m_cursor = NAN;

    TChartPanes* m_panes = nullptr;
    QTimer* m_redraw = nullptr;
    QScrollBar* m_scroll = nullptr;
    TChartToolbar* m_tools = nullptr;
    QComboBox* m_spanList = nullptr;
    QPushButton* m_pauseButton = nullptr;
    QPushButton* m_recordButton = nullptr;
    QPushButton* m_markerButton = nullptr;
    QPushButton* m_liveButton = nullptr;
    TChartReadings* m_readings = nullptr;
    TRoadTestPane* m_roadTest = nullptr;
};
