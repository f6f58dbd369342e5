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
    // Asking the font database whether it knows Tahoma costs more than the
    // registration itself (it runs fontconfig's substitution rules), so the
    // files are registered once without asking.
    static const bool registered = [] {
        bool any = false;
        for (const QString& file : TahomaFiles()) {
            if (QFile::exists(file))
                any = QFontDatabase::addApplicationFont(file) >= 0 || any;
        }
        return any;
    }();
    return registered;
}

} // namespace DesignFonts
