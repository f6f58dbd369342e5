#pragma once

// TRoadTestPane, the chart window's "Road test" pane: the road-test check over
// the log the window shows (the log opened for replay, or the live samples it
// holds, which the last recording is part of), criterion by criterion with its
// verdict as a word, a sign and a colour, the figures and thresholds, and the
// suggestions. The fitter ticks suggestions and applies them as one undoable
// step; the values are read back from the unit and shown. Report... writes the
// customer's report with this road test.

#include "datalog/LogReader.h"
#include "report/ReportDocument.h"
#include "roadtest/RoadTestResult.h"

#include <QGroupBox>
#include <QPointer>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class TChartDialogs;
class TOrvRegistryData;
class TSerialDataModule;
class TUndoRecorder;

class TRoadTestPane : public QGroupBox {
    Q_OBJECT

public:
    // The log to check and its name (the file's, or empty for the live samples).
    using TLogSource = std::function<const TLogData&()>;
    using TLogName = std::function<QString()>;

    // settings keeps the workshop (may be null); dialogs answers the report's
    // questions. Neither is owned.
    TRoadTestPane(TSerialDataModule* module, TOrvRegistryData* settings, TChartDialogs* dialogs,
                  TLogSource log, TLogName logName, QWidget* parent = nullptr);

    // The history the applied suggestions join (the configuration window's),
    // or null: applied without undo.
    void SetUndoRecorder(TUndoRecorder* recorder);
    void RefreshInterfaceText();

    // Runs the check over the log and shows it.
    void Check();
    const TRoadTestResult& Result() const { return m_result; }
    // Ticks or clears the box of a suggestion (by its place in Result()).
    void SetTicked(int suggestion, bool ticked);
    // Writes the ticked suggestions to the unit as one step of the history and
    // reads them back; false (after a message) when there is no unit or a
    // value was not written.
    bool ApplyTicked();
    // Asks for the workshop and the file and writes the report; false when
    // cancelled or not written (after a message).
    bool WriteReport();
    // The vehicle the reports name (the windows' current one); none by default.
    void SetVehicle(const TReportVehicle& vehicle) { m_vehicle = vehicle; }

    QTableWidget* CriteriaTable() const { return m_criteria; }
    QTableWidget* SuggestionsTable() const { return m_suggestions; }

signals:
    // A report was written, to fileName.
    void ReportWritten(const QString& fileName);

private:
    QString Text(int index, const QString& english) const;
    QString Caption(const QString& item) const;
    QString ValueText(const QString& item, double value) const;
    void ShowResult();
    void ShowMessage(bool error, const QString& text);

    TSerialDataModule* m_module;
    TOrvRegistryData* m_settings;
    TChartDialogs* m_dialogs;
    TLogSource m_log;
    TLogName m_logName;
    QPointer<TUndoRecorder> m_recorder; // the configuration window's, which may go first
    TRoadTestResult m_result;
    bool m_checked = false;
    TReportVehicle m_vehicle;

    QLabel* m_summary = nullptr;
    QTableWidget* m_criteria = nullptr;
    QTableWidget* m_suggestions = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_reportButton = nullptr;
};
