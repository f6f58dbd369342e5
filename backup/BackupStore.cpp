#include "backup/BackupStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

const QString TBackupStore::ConnectReason = QStringLiteral("connect");

namespace {

const QString Extension = QStringLiteral(".tcn");
const QString Group = QStringLiteral("backup");

// The running number of backups made within one second: 1 for the first.
int RunningNumber(const QString& fileName)
{
    static const QRegularExpression suffix(QStringLiteral("-(\\d+)\\.tcn$"));
    const QRegularExpressionMatch match = suffix.match(fileName);
    return match.hasMatch() ? match.captured(1).toInt() : 1;
}

// A claim whose program ended before writing the backup: the file stays empty.
// Writing a backup takes seconds, so an hour-old empty file is such a leftover.
constexpr qint64 AbandonedClaimSeconds = 3600;

void RemoveBackup(const QString& fileName)
{
    QFile::remove(fileName);
    QFile::remove(BackupFactsFileName(fileName));
}

// The backups of one reason for one unit share a key.
QString ReasonOfUnit(const TBackupEntry& entry)
{
    return entry.reason + QLatin1Char('\n') + entry.identity;
}

} // namespace

QString BackupFactsFileName(const QString& backupFileName)
{
    QString name = backupFileName;
    if (name.endsWith(Extension))
        name.chop(Extension.size());
    return name + QStringLiteral(".ini");
}

TBackupStore::TBackupStore()
    : m_folder(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                   .filePath(QStringLiteral("TZR582/backups")))
{
}

QString TBackupStore::Claim(const QString& reason, const QDateTime& when) const
{
    const QDir folder(m_folder);
    if (!folder.mkpath(QStringLiteral(".")))
        return QString();
    const QString stem = when.toString(QStringLiteral("yyyyMMdd-HHmmss-")) + reason;
    // Backups within one second get running numbers, always above those taken.
    int last = 0;
    for (const QString& taken : folder.entryList({stem + QLatin1Char('*') + Extension}, QDir::Files))
        last = qMax(last, RunningNumber(taken));
    // Another program may take a name between the look and the creation: the
    // creation fails then, and the next number is tried.
    constexpr int Attempts = 100;
    for (int number = last + 1; number <= last + Attempts; ++number) {
        const QString suffix = number == 1 ? QString() : QLatin1Char('-') + QString::number(number);
        const QString name = folder.filePath(stem + suffix + Extension);
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!file.exists())
            return QString(); // not taken, yet not creatable: the folder refuses files
    }
    return QString();
}

bool TBackupStore::Record(const QString& fileName, const TBackupEntry& facts)
{
    bool written = false;
    {
        QSettings ini(BackupFactsFileName(fileName), QSettings::IniFormat);
        ini.beginGroup(Group);
        ini.setValue(QStringLiteral("created"), facts.created.toString(Qt::ISODateWithMs));
        ini.setValue(QStringLiteral("reason"), facts.reason);
        ini.setValue(QStringLiteral("identity"), facts.identity);
        ini.setValue(QStringLiteral("note"), facts.note);
        ini.endGroup();
        ini.sync();
        written = ini.status() == QSettings::NoError;
    }
    Prune(fileName);
    return written;
}

bool TBackupStore::SetNote(const QString& fileName, const QString& note)
{
    if (!QFileInfo::exists(BackupFactsFileName(fileName)))
        return false;
    QSettings ini(BackupFactsFileName(fileName), QSettings::IniFormat);
    ini.setValue(Group + QStringLiteral("/note"), note);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QList<TBackupEntry> TBackupStore::List() const
{
    QList<TBackupEntry> entries;
    const QDir folder(m_folder);
    const QStringList names = folder.entryList({QLatin1Char('*') + Extension}, QDir::Files);
    for (const QString& name : names) {
        TBackupEntry entry;
        entry.fileName = folder.filePath(name);
        if (QFileInfo(entry.fileName).size() == 0)
            continue; // a claim
        QSettings ini(BackupFactsFileName(entry.fileName), QSettings::IniFormat);
        ini.beginGroup(Group);
        entry.created =
            QDateTime::fromString(ini.value(QStringLiteral("created")).toString(), Qt::ISODateWithMs);
        if (!entry.created.isValid())
            entry.created = QFileInfo(entry.fileName).lastModified();
        entry.reason = ini.value(QStringLiteral("reason")).toString();
        entry.identity = ini.value(QStringLiteral("identity")).toString();
        entry.note = ini.value(QStringLiteral("note")).toString();
        entries << entry;
    }
    std::sort(entries.begin(), entries.end(), [](const TBackupEntry& a, const TBackupEntry& b) {
        return a.created != b.created ? a.created > b.created
                                      : RunningNumber(a.fileName) > RunningNumber(b.fileName);
    });
    return entries;
}

QString TBackupStore::Latest() const
{
    for (const TBackupEntry& entry : List()) {
        if (entry.reason != ConnectReason)
            return entry.fileName;
    }
    return QString();
}

void TBackupStore::Prune(const QString& justMade) const
{
    RemoveAbandonedClaims();
    const QList<TBackupEntry> entries = List();
    qsizetype excess = entries.size() - m_retention;
    if (excess <= 0)
        return;
    // Newest first: the first of each risky reason for a unit stays, and so does
    // the backup just made.
    QSet<QString> seen;
    QList<TBackupEntry> connects;
    QList<TBackupEntry> others;
    for (const TBackupEntry& entry : entries) {
        if (entry.fileName == justMade)
            continue;
        if (entry.reason == ConnectReason)
            connects.prepend(entry);
        else if (seen.contains(ReasonOfUnit(entry)))
            others.prepend(entry);
        else
            seen.insert(ReasonOfUnit(entry));
    }
    for (const QList<TBackupEntry>* candidates : {&connects, &others}) {
        for (const TBackupEntry& entry : *candidates) {
            if (excess-- <= 0)
                return;
            RemoveBackup(entry.fileName);
        }
    }
}

void TBackupStore::RemoveAbandonedClaims() const
{
    const QDateTime oldest = QDateTime::currentDateTime().addSecs(-AbandonedClaimSeconds);
    const QFileInfoList files = QDir(m_folder).entryInfoList({QLatin1Char('*') + Extension}, QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.size() == 0 && file.lastModified() < oldest)
            RemoveBackup(file.filePath());
    }
}
