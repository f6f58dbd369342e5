#include "model/ProgramArguments.h"

#include "model/ProgramSetup.h"
#include "support/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString Usage = QStringLiteral("Usage: tzr582 [FILE]\n"
                                     "       tzr582 --help | --version\n");

} // namespace

TProgramArguments TProgramArguments::Parse(const QStringList& words)
{
    TProgramArguments parsed;
    QStringList files;
    bool optionsEnded = false;
    for (const QString& word : words) {
        if (optionsEnded || !word.startsWith(QLatin1Char('-'))) {
            files << word;
        } else if (word == QLatin1String("--")) {
            optionsEnded = true;
        } else if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            parsed.outcome = Outcome::Help;
            return parsed;
        } else if (word == QLatin1String("--version")) {
            parsed.outcome = Outcome::Version;
            return parsed;
        } else {
            parsed.outcome = Outcome::UsageError;
            parsed.error = QStringLiteral("unknown option '%1'").arg(word);
            return parsed;
        }
    }
    if (files.size() > 1) {
        parsed.outcome = Outcome::UsageError;
        parsed.error = QStringLiteral("one configuration file at a time");
    } else if (!files.isEmpty()) {
        parsed.file = QFileInfo(files.first()).absoluteFilePath();
    }
    return parsed;
}

QString TProgramArguments::HelpText(const TProgramFolders& folders)
{
    const QString simulatedUnit =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/TZR582/");
    return Usage + QStringLiteral(
               "\n"
               "The configurator of the control unit that closes the loop on the engine's\n"
               "lambda sensor in an LPG/CNG conversion: it connects to the unit, shows its\n"
               "live values, edits its parameters, saves and loads configuration files and\n"
               "reprograms its firmware. The command-line tool tzr582-cli runs the same\n"
               "operations without windows.\n"
               "\n"
               "FILE, a configuration file (*.tcn), is offered for loading into the unit once\n"
               "a unit is connected.\n"
               "\n"
               "Options:\n"
               "  -h, --help     show this help and exit\n"
               "      --version  show the version and exit\n"
               "\n"
               "Files:\n"
               "  %1ConfigBase.rcc\n"
               "      pictures and firmware images\n"
               "  %1Dizionario/Languages.lng\n"
               "      the interface texts in every language\n"
               "  %2libSerOrvDL.so\n"
               "      the link library, a simulated unit\n"
               "  %3\n"
               "      the chosen language and the recently used configuration files\n"
               "  %4\n"
               "      where configuration files are saved and opened by default\n"
               "  %5simunit-memory.bin\n"
               "      the simulated unit's configuration memory\n")
                       .arg(folders.Data(), folders.Library(), ProgramSetup::SettingsFileName(),
                            folders.Configurations(), simulatedUnit);
}

QString TProgramArguments::VersionText()
{
    return QStringLiteral("tzr582 ") + QCoreApplication::applicationVersion() + QLatin1Char('\n');
}

QString TProgramArguments::UsageErrorText() const
{
    return QStringLiteral("tzr582: ") + error + QLatin1Char('\n') + Usage;
}
