#include "support/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

// TZR_RELATIVE_LIBRARY_DIR and TZR_RELATIVE_DATA_DIR, the installed folders
// relative to the executables' folder, come from the build's install layout.

QString WithSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString Beside(const QString& executableFolder, const char* relative)
{
    return WithSeparator(QDir::cleanPath(QDir(executableFolder).filePath(QString::fromLatin1(relative))));
}

} // namespace

TProgramFolders::TProgramFolders(const QString& executableFolder)
    : m_executable(WithSeparator(executableFolder))
{
    const QString data = Beside(executableFolder, TZR_RELATIVE_DATA_DIR);
    m_installed = QDir(data).exists();
    m_library = m_installed ? Beside(executableFolder, TZR_RELATIVE_LIBRARY_DIR) : m_executable;
    m_data = m_installed ? data : m_executable;
}

TProgramFolders TProgramFolders::OfThisProgram()
{
    return TProgramFolders(QCoreApplication::applicationDirPath());
}

QString TProgramFolders::Configurations() const
{
    if (!m_installed)
        return m_executable + QStringLiteral("Configurazioni");
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/TZR582/Configurazioni");
}
