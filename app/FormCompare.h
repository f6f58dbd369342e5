#pragma once

// TFormCompare shows what differs between two configurations: the connected
// unit against a file or a backup, or two files. One row per item that
// differs, in the fitter's words: the caption the configuration window gives
// it and both values as that window shows them (a flag byte as the options
// that differ, one a line); the bytes the unit stores only in the details.
// Columns after the caption: the unit or the first file, then the second
// file, each titled with its name. Against the unit, rows can be ticked and
// "load ticked" writes only those values from the file, with the checks of a
// load.

#include "app/FormScaling.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTableWidget;
class TSerialDataModule;
class TVehicleSession;
struct TConfigDifference;

class TFormCompare : public QDialog {
    Q_OBJECT

public:
    TFormCompare(TSerialDataModule* module, QWidget* parent, int screenWidth = DesignScreenWidth);

    // False when a file could not be read as a configuration; a file refused
    // as one is named with the reason.
    bool ShowUnitAgainst(const QString& fileName);
    bool ShowFiles(const QString& left, const QString& right);

    // The current vehicle a load of ticked rows is recorded on; none by default.
    void SetVehicleSession(TVehicleSession* session) { m_vehicles = session; }

    QTableWidget* Table() const { return m_table; }
    QPushButton* LoadButton() const { return m_load; }
    // Shows or hides the column of the stored bytes.
    QCheckBox* DetailsBox() const { return m_details; }
    // Writes the ticked rows' values from the file into the unit, then shows
    // what still differs.
    void LoadTicked();

private:
    void Fill(const QList<TConfigDifference>& differences, const QString& left, const QString& right);
    QString Text(int index) const;
    // Shows why the first of the files that cannot be used is refused.
    void ShowFileProblem(const QStringList& fileNames);

    TSerialDataModule* m_module;
    QTableWidget* m_table;
    QPushButton* m_load;
    QCheckBox* m_details;
    QString m_file; // the file compared with the unit; empty for two files
    TVehicleSession* m_vehicles = nullptr;
};
