#pragma once

// TFormCompare shows what differs between two configurations: the connected
// unit against a file or a backup, or two files. One row per item that
// differs: its caption, both values in engineering units and the unit's raw
// values. Against the unit, rows can be ticked and "load ticked" writes only
// those values from the file, with the checks of a load.

#include <QDialog>

class QPushButton;
class QTableWidget;
class TSerialDataModule;
class TVehicleSession;
struct TConfigDifference;

class TFormCompare : public QDialog {
    Q_OBJECT

public:
    TFormCompare(TSerialDataModule* module, QWidget* parent);

    // False when a file could not be read as a configuration; a file refused
    // as one is named with the reason.
    bool ShowUnitAgainst(const QString& fileName);
    bool ShowFiles(const QString& left, const QString& right);

    // The current vehicle a load of ticked rows is recorded on; none by default.
    void SetVehicleSession(TVehicleSession* session) { m_vehicles = session; }

    QTableWidget* Table() const { return m_table; }
    QPushButton* LoadButton() const { return m_load; }
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
    QString m_file; // the file compared with the unit; empty for two files
    TVehicleSession* m_vehicles = nullptr;
};
