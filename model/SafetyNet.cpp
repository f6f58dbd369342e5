#include "model/SafetyNet.h"

#include "model/ConfigurationFiles.h"
#include "model/SerialDataModule.h"
#include "support/TextIndex.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <utility>

TSafetyNet::TSafetyNet(TSerialDataModule& module) : m_module(module) {}

QString TSafetyNet::MakeBackup(const QString& reason)
{
    if (!m_module.IsUnitConnected())
        return QString();
    TBackupEntry facts;
    facts.created = QDateTime::currentDateTime();
    facts.reason = reason;
    facts.note = m_vehicleNote;
    QStringList identity;
    for (const uint8_t byte : m_module.Identity())
        identity << QString::number(byte);
    facts.identity = identity.join(QLatin1Char(' '));

    const QString fileName = m_backups.Claim(reason, facts.created);
    if (fileName.isEmpty())
        return QString();
    QString unsaved;
    // A backup that misses values is no backup: it is removed.
    if (!m_module.m_files->WriteFile(fileName, unsaved) || !unsaved.isEmpty() ||
        !m_backups.Record(fileName, facts)) {
        QFile::remove(fileName);
        QFile::remove(BackupFactsFileName(fileName));
        return QString();
    }
    return fileName;
}

QString TSafetyNet::FailureText() const
{
    return m_module.Text(TextIndex::BackupFailed) + QLatin1Char('\n') +
           QDir::toNativeSeparators(m_backups.Folder());
}

bool TSafetyNet::BackUpBefore(const QString& reason, QString* fileName)
{
    if (!m_module.IsUnitConnected())
        return true; // there is nothing to save
    const QString made = MakeBackup(reason);
    if (fileName)
        *fileName = made;
    return !made.isEmpty() ||
           m_module.m_prompts->AskGoOnWithoutBackup(m_module.Text(TextIndex::BackupCaption),
                                                    FailureText() + QLatin1Char('\n') +
                                                        m_module.Text(TextIndex::GoOnWithoutBackupQuestion));
}

// The first connect backs the unit up, unless the newest backup holds the
// same values: a unit connected again and again is saved once.
void TSafetyNet::BackUpAtFirstConnect()
{
    if (std::exchange(m_connectBackupDone, true))
        return;
    const QString newest = m_backups.List().value(0).fileName;
    QList<TConfigDifference> differences;
    QStringList unread;
    if (!newest.isEmpty() && m_module.CompareUnitWithFile(newest, differences, &unread) &&
        differences.isEmpty() && unread.isEmpty())
        return;
    if (MakeBackup(TBackupStore::ConnectReason).isEmpty())
        m_module.m_prompts->ShowMessage(TMessageIcon::Error, m_module.Text(TextIndex::BackupCaption),
                                        FailureText());
}

QList<TBackupEntry> TSafetyNet::ByCloseness(QStringList* unread)
{
    QList<TBackupEntry> entries = m_backups.List();
    const QStringList notRead = m_module.UnreadUnitItems();
    if (unread)
        *unread = notRead;
    // Values the unit did not give would count as whatever the module holds.
    if (!m_module.IsUnitConnected() || !notRead.isEmpty())
        return entries;
    for (TBackupEntry& entry : entries) {
        QList<TConfigDifference> differences;
        if (m_module.CompareUnitWithFile(entry.fileName, differences))
            entry.differences = int(differences.size());
    }
    // Newest first already; the closest come first, unreadable ones last.
    std::stable_sort(entries.begin(), entries.end(), [](const TBackupEntry& a, const TBackupEntry& b) {
        return CloserConfiguration(a.differences, b.differences);
    });
    return entries;
}
