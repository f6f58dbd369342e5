#pragma once

// TFormVehicles is the workshop's vehicle records in a window: the vehicles
// found as the fitter types (plate, VIN, customer, make, model), the chosen
// vehicle's data, editable and saved over the version it was read as (a
// vehicle changed meanwhile on another bench is refused, to be reloaded), a new
// vehicle, and its timeline, newest first, filtered by group. From the
// timeline: a note added, a configuration loaded into the unit through the
// compare window (ticked rows only), two configurations compared, a data log
// opened in the chart, an entry's file exported. The vehicle shown can be made
// the current one, or none be current.

#include "records/TimelineEntry.h"
#include "records/Vehicle.h"

#include <QDialog>
#include <QList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace Ui {
class TFormVehicles;
}
class QCheckBox;
class QLineEdit;
class QListWidget;
class QTableWidget;
class TFileDialogs;
class TFormCompare;
class TVehicleSession;

class TFormVehicles : public QDialog {
    Q_OBJECT

public:
    // The session's records must be open (TVehicleSession::Database()).
    TFormVehicles(TVehicleSession& session, TFileDialogs* dialogs, const QString& filesFolder,
                  int screenWidth, QWidget* parent);
    ~TFormVehicles() override;

    // How a compare window is shown (modal by default; tests answer it), and
    // how a data log is opened in the chart.
    void SetCompareShower(std::function<void(TFormCompare&)> show) { m_showCompare = std::move(show); }
    void SetLogOpener(std::function<void(const QString&)> open) { m_openLog = std::move(open); }

    QLineEdit* SearchEdit() const;
    QListWidget* VehicleList() const;
    QTableWidget* Timeline() const;
    QCheckBox* Filter(TTimelineGroup group) const;
    // The edit of a vehicle field, by its name (VehicleFields::Names()).
    QLineEdit* Field(const QString& name) const;
    const TVehicle& ShownVehicle() const { return m_vehicle; }

    void Search(const QString& text);
    void ShowVehicle(int row);
    void NewVehicle();
    bool SaveVehicle();
    void MakeCurrent();
    void ClearCurrent();
    void AddNote();
    void RefreshTimeline();
    void LoadSelectedConfiguration();
    void CompareSelectedEntries();
    void OpenSelectedLog();
    void ExportSelectedEntry();

    void RefreshInterfaceText();

private:
    void FitTexts();
    void ConnectControls();
    void FillFields(const TVehicle& vehicle);
    QList<TTimelineKind> ShownKinds() const;
    // The selected timeline entries, with their files.
    QList<TTimelineEntry> SelectedEntries();
    // The entry's file written to the window's folder; empty when it cannot be.
    QString WriteEntryFile(const TTimelineEntry& entry);
    void Tell(const QString& text);
    QString Text(int index) const;

    std::unique_ptr<Ui::TFormVehicles> m_ui;
    TVehicleSession& m_session;
    TFileDialogs* m_dialogs;
    QString m_filesFolder;
    QList<TVehicle> m_found;
    TVehicle m_vehicle; // the vehicle shown; id 0 for a new one
    QList<TTimelineEntry> m_entries;
    QTemporaryDir m_files; // the entries' files handed to the compare window and the chart
    std::function<void(TFormCompare&)> m_showCompare;
    std::function<void(const QString&)> m_openLog;
};
