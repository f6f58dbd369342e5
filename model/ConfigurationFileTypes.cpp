#include "model/ConfigurationFileTypes.h"

namespace ConfigurationFileTypes {

QStringList Patterns()
{
    return {QStringLiteral("*.tcn"), QStringLiteral("*.lce")};
}

QString DialogFilter()
{
    return QStringLiteral("File: (%1)").arg(Patterns().join(QLatin1Char(' ')));
}

QString DefaultSuffix()
{
    return QStringLiteral("lce");
}

bool IsConfigurationFile(const QString& fileName)
{
    for (const QString& pattern : Patterns()) {
        if (fileName.endsWith(pattern.mid(1), Qt::CaseInsensitive) && fileName.size() > pattern.size() - 1)
            return true;
    }
    return false;
}

QString FirstConfigurationFile(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        const QString file = url.toLocalFile();
        if (IsConfigurationFile(file))
            return file;
    }
    return QString();
}

} // namespace ConfigurationFileTypes
