#pragma once

// The recently used configuration files, most recent first, kept in the
// program's settings file under "RecentFiles" so that they survive the program.
// Every call reads the file afresh, so two windows or programs sharing it see
// each other's changes.

#include <QString>
#include <QStringList>

class TRecentFiles {
public:
    static constexpr int MaxCount = 8;

    // settingsFile: the INI file the list is kept in.
    explicit TRecentFiles(const QString& settingsFile);

    QStringList Files() const;
    // Puts the file (made absolute) first; an entry already listed moves up and
    // the oldest beyond MaxCount drops out.
    void Add(const QString& fileName);
    void Remove(const QString& fileName);

private:
    void Store(const QStringList& files);

    QString m_settingsFile;
};
