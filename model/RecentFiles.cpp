#include "model/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString Key = QStringLiteral("RecentFiles");

} // namespace

TRecentFiles::TRecentFiles(const QString& settingsFile) : m_settingsFile(settingsFile) {}

QStringList TRecentFiles::Files() const
{
    QStringList files = QSettings(m_settingsFile, QSettings::IniFormat).value(Key).toStringList();
    files.removeAll(QString());
    return files.mid(0, MaxCount);
}

void TRecentFiles::Add(const QString& fileName)
{
    const QString file = QFileInfo(fileName).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(file);
    files.prepend(file);
    Store(files.mid(0, MaxCount));
}

void TRecentFiles::Remove(const QString& fileName)
{
    QStringList files = Files();
    files.removeAll(QFileInfo(fileName).absoluteFilePath());
    Store(files);
}

void TRecentFiles::Store(const QStringList& files)
{
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    settings.setValue(Key, files);
}
