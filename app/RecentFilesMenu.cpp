#include "app/RecentFilesMenu.h"

#include <QDir>
#include <QFileInfo>

TRecentFilesMenu::TRecentFilesMenu(const QString& settingsFile, QWidget* parent)
    : QMenu(parent), m_files(settingsFile)
{
    setObjectName(QStringLiteral("MenuRecentFiles"));
    connect(this, &QMenu::aboutToShow, this, &TRecentFilesMenu::Fill);
    Fill();
}

void TRecentFilesMenu::Remember(const QString& fileName)
{
    m_files.Add(fileName);
    menuAction()->setEnabled(true);
}

QString TRecentFilesMenu::LastFolder() const
{
    for (const QString& file : m_files.Files()) {
        const QFileInfo info(file);
        if (info.absoluteDir().exists())
            return info.absolutePath();
    }
    return QString();
}

void TRecentFilesMenu::Fill()
{
    clear();
    int number = 0;
    for (const QString& fileName : m_files.Files()) {
        if (!QFileInfo::exists(fileName))
            continue;
        const QString name = QFileInfo(fileName).fileName().replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        entry->setToolTip(QDir::toNativeSeparators(fileName));
        connect(entry, &QAction::triggered, this, [this, fileName] { emit FileChosen(fileName); });
    }
    menuAction()->setEnabled(number > 0);
}
