#pragma once

// TBackupStore keeps the automatic backups of a unit's configuration: one
// configuration file per backup, named by date, time and reason
// (20261210-142233-before-load.tcn), with a small INI file beside it
// (…-before-load.ini) that records when and why it was made, the unit's
// identity and the fitter's vehicle note. Only the newest ones are kept, the
// connect backups going first, and never the newest one made before each kind
// of risky operation on a unit: the one a restore after it needs.
//
// Several programs may share the folder; a backup's name is claimed by creating
// its file, empty, before it is written, so two programs never write the same
// file. An empty file is such a claim: it is no backup yet.

#include <QDateTime>
#include <QList>
#include <QString>

struct TBackupEntry {
    QString fileName; // the configuration file, absolute
    QDateTime created;
    QString reason;       // "before-load", "before-erase", "before-firmware", "before-restore", "connect"
    QString identity;     // the unit's identity record, decimal bytes separated by blanks
    QString note;         // the vehicle note
    int differences = -1; // values that differ from the connected unit; -1 when not compared
};

class TBackupStore {
public:
    static constexpr int DefaultRetention = 200;
    // The reason of the backup made at the first connect of a program run.
    static const QString ConnectReason;

    TBackupStore();

    // The folder: backups/ in the program's data folder unless set.
    QString Folder() const { return m_folder; }
    void SetFolder(const QString& folder) { m_folder = folder; }
    int Retention() const { return m_retention; }
    void SetRetention(int count) { m_retention = qMax(1, count); }

    // Claims the name of a backup made at `when` for reason: creates its file,
    // empty, where no other file (or claim) of this or another program is; the
    // folder is made when missing. The name, to be written over (a QSaveFile
    // renames onto it); empty when the folder or the file cannot be made.
    QString Claim(const QString& reason, const QDateTime& when) const;
    // Records the facts beside a backup file just written, then removes backups
    // beyond the retention: the connect ones first, then the others, the oldest
    // first of each. The backup just written and the newest of each risky reason
    // (not a connect) for each unit identity stay, also beyond the retention.
    // False when the facts could not be written.
    bool Record(const QString& fileName, const TBackupEntry& facts);
    bool SetNote(const QString& fileName, const QString& note);

    // Every backup, newest first (claims not written yet left out).
    QList<TBackupEntry> List() const;
    // The newest backup made before a risky operation (not at a connect); empty when none.
    QString Latest() const;

private:
    void Prune(const QString& justMade) const;
    void RemoveAbandonedClaims() const;

    QString m_folder;
    int m_retention = DefaultRetention;
};

// The file beside a backup that records its facts.
QString BackupFactsFileName(const QString& backupFileName);
