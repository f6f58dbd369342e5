#pragma once

// The File menu's recently used configuration files: one entry per file that
// still exists, numbered for the keyboard, filled afresh as the menu opens (an
// entry may be running the very load that adds a file).

#include "model/RecentFiles.h"

#include <QMenu>

class TRecentFilesMenu : public QMenu {
    Q_OBJECT
public:
    // settingsFile: the INI file the list is kept in.
    TRecentFilesMenu(const QString& settingsFile, QWidget* parent);

    // Puts the file first in the list.
    void Remember(const QString& fileName);
    // The folder of the newest file listed whose folder still exists, or an
    // empty text.
    QString LastFolder() const;

signals:
    void FileChosen(const QString& fileName);

private:
    void Fill();

    TRecentFiles m_files;
};
