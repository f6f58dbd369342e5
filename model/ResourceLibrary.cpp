#include "model/ResourceLibrary.h"

#include <QDir>
#include <QFile>
#include <QResource>

namespace ResourceLibrary {

namespace {

const QString FileName = QStringLiteral("ConfigBase.rcc");
const QString LibraryRoot = QStringLiteral("/ConfigBase");
const QString ProgramRoot = QStringLiteral(":/program");

// The registered file; empty while no library is loaded. The one process-wide
// reference to the resource library.
QString& Registered()
{
    static QString file;
    return file;
}

QString Name(const QString& kind, int id)
{
    return kind + QLatin1Char('/') + QString::number(id);
}

} // namespace

bool Load(const QString& dataFolder)
{
    Free();
    const QString file = QDir(dataFolder).filePath(FileName);
    if (!QFile::exists(file) || !QResource::registerResource(file, LibraryRoot))
        return false;
    Registered() = file;
    return true;
}

void Free()
{
    if (Registered().isEmpty())
        return;
    QResource::unregisterResource(Registered(), LibraryRoot);
    Registered().clear();
}

bool IsLoaded()
{
    return !Registered().isEmpty();
}

QString LibraryPath(const QString& kind, int id)
{
    return IsLoaded() ? QLatin1Char(':') + LibraryRoot + QLatin1Char('/') + Name(kind, id) : QString();
}

QString Path(const QString& kind, int id)
{
    return IsLoaded() ? LibraryPath(kind, id) : ProgramRoot + QLatin1Char('/') + Name(kind, id);
}

} // namespace ResourceLibrary
