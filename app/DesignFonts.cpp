#include "app/DesignFonts.h"

#include <QFile>
#include <QFontDatabase>

namespace DesignFonts {

QStringList TahomaFiles()
{
    // Where Debian's fonts-wine puts its Tahoma faces (regular and bold).
    const QString folder = QStringLiteral("/usr/share/wine/fonts/");
    return {folder + QStringLiteral("tahoma.ttf"), folder + QStringLiteral("tahomabd.ttf")};
}

bool Register()
{
    // Once registered (or installed where fontconfig lists it) nothing is added again.
    const QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma))
        return true;
    for (const QString& file : TahomaFiles()) {
        if (QFile::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
    return QFontDatabase::hasFamily(tahoma);
}

} // namespace DesignFonts
