#pragma once

// TFormBackups lists the automatic backups of the unit's configuration: date,
// reason, vehicle note (editable) and how many values differ from the unit,
// the closest first. A backup is restored after a confirmation, or compared
// with the unit; two files can be compared as well. The vehicle note typed at
// the top goes with the backups made from now on.

#include <QDialog>
#include <QList>

#include "backup/BackupStore.h"

class QLineEdit;
class QTableWidget;
class TFileDialogs;
class TSerialDataModule;
class TVehicleSession;

class TFormBackups : public QDialog {
    Q_OBJECT

public:
    TFormBackups(TSerialDataModule* module, TFileDialogs* dialogs, int screenWidth, QWidget* parent);

    // The current vehicle restores are recorded on; none by default.
    void SetVehicleSession(TVehicleSession* session) { m_vehicles = session; }

    QTableWidget* Table() const { return m_table; }
    void Refresh();
    void RestoreSelected();
    void CompareSelected();
    void CompareFiles();

private:
    QString SelectedFile() const;
    void NoteChanged(int row, int column);
    QString Text(int index) const;

    TSerialDataModule* m_module;
    TFileDialogs* m_dialogs;
    int m_screenWidth;
    QLineEdit* m_note;
    QTableWidget* m_table;
    QList<TBackupEntry> m_entries;
    TVehicleSession* m_vehicles = nullptr;
};
