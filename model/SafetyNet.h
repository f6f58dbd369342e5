#pragma once

// TSafetyNet keeps the backups around the risky operations: the unit's
// configuration is saved before every load, restore, erase and firmware
// update, and at the first connect of the module's life. A backup that cannot
// be made stops the operation unless the user chooses to go on without it.

#include "backup/BackupStore.h"

#include <QList>
#include <QString>
#include <QStringList>

class TSerialDataModule;

class TSafetyNet {
public:
    explicit TSafetyNet(TSerialDataModule& module);

    TBackupStore& Store() { return m_backups; }
    QString VehicleNote() const { return m_vehicleNote; }
    void SetVehicleNote(const QString& note) { m_vehicleNote = note; }

    // Saves the connected unit's configuration as a backup; the file, or empty
    // when it could not be made.
    QString MakeBackup(const QString& reason);
    // The backup before a risky operation: true when it was made, or when the
    // user chose to go on without it. fileName receives the backup made.
    bool BackUpBefore(const QString& reason, QString* fileName = nullptr);
    void BackUpAtFirstConnect();
    // Every backup with its differences from the connected unit, the closest first.
    QList<TBackupEntry> ByCloseness(QStringList* unread);

private:
    QString FailureText() const;

    TSerialDataModule& m_module;
    TBackupStore m_backups;
    QString m_vehicleNote;
    bool m_connectBackupDone = false;
};
