#include "model/ProgramArguments.h"

#include "model/ProgramSetup.h"
#include "support/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString Usage = QStringLiteral("Usage: tzr582 [--new-instance] [FILE]\n"
                                     "       tzr582 --help | --version\n");

// The toolkit's options (with one or two dashes, a value after a blank or "="),
// which the application object takes out of the command line itself.
const QStringList ToolkitOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
    QStringLiteral("display"),         QStringLiteral("name"),
    QStringLiteral("title"),           QStringLiteral("visual"),
    QStringLiteral("geometry"),        QStringLiteral("style"),
    QStringLiteral("stylesheet"),      QStringLiteral("qmljsdebugger")};
const QStringList ToolkitFlags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                  QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync")};

// How many words a toolkit option at words[at] takes (itself and its value); 0
// when the word is not one.
int ToolkitOptionLength(const QStringList& words, qsizetype at)
{
    QString name = words.at(at).mid(words.at(at).startsWith(QLatin1String("--")) ? 2 : 1);
    const bool valueAttached = name.contains(QLatin1Char('='));
    name = name.section(QLatin1Char('='), 0, 0);
    if (ToolkitFlags.contains(name) && !valueAttached)
        return 1;
    if (!ToolkitOptionsWithValue.contains(name))
        return 0;
    return valueAttached || at + 1 >= words.size() ? 1 : 2;
}

} // namespace

TProgramArguments TProgramArguments::Parse(const QStringList& words)
{
    TProgramArguments parsed;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype at = 0; at < words.size(); ++at) {
        const QString& word = words.at(at);
        if (optionsEnded || !word.startsWith(QLatin1Char('-'))) {
            files << word;
        } else if (word == QLatin1String("--")) {
            optionsEnded = true;
        } else if (const int length = ToolkitOptionLength(words, at)) {
            at += length - 1;
        } else if (word == QLatin1String("--new-instance")) {
            parsed.newInstance = true;
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
                       "FILE, a configuration file (*.tcn or *.lce), is offered for loading into the unit\n"
                       "once a unit is connected.\n"
                       "\n"
                       "A program already running for the user on this display is handed FILE and\n"
                       "comes to the front; the second start then ends (exit status 0).\n"
                       "\n"
                       "Options:\n"
                       "      --new-instance  start a program of its own even when one is running\n"
                       "  -h, --help          show this help and exit\n"
                       "      --version       show the version and exit\n"
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
