#include "model/ProgramSetup.h"

#include "link/OrvConnection.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QDir>

#include <algorithm>

namespace ProgramSetup {

namespace {

const QString SettingsKey = QStringLiteral("software\\orv srl\\TZR582");

} // namespace

int LanguageOfLocale(const QString& locale)
{
    static const QStringList languages = {QStringLiteral("it"), QStringLiteral("en"), QStringLiteral("es"),
                                          QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("ru")};
    // "de_DE.UTF-8@euro": the language is what comes before the territory.
    const QString language = locale.section(QLatin1Char('_'), 0, 0)
                                 .section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0);
    return std::max(0, int(languages.indexOf(language.toLower())));
}

int SystemLanguage()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return LanguageOfLocale(value);
    }
    return 0;
}

QString SettingsFileName()
{
    TOrvRegistryData settings;
    settings.SetKeyName(SettingsKey);
    return settings.SettingsFileName();
}

void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& dataFolder,
                              TUserPrompts* prompts)
{
    settings.SetKeyName(SettingsKey);
    // Until the user chooses, the program speaks the system's language.
    settings.SetIntegerDataList(
        {QStringLiteral("Language=%1").arg(SystemLanguage()),
         QLatin1String(LinkSetting::BaudRate) + u'=' + QString::number(LinkSetting::DefaultBaudRate),
         QStringLiteral("BackupsKept=%1").arg(TBackupStore::DefaultRetention)});
    settings.SetStringDataList({QLatin1String(LinkSetting::Port) + QLatin1Char('='),
                                QLatin1String(WorkshopSetting::Name) + QLatin1Char('='),
                                QLatin1String(WorkshopSetting::Address) + QLatin1Char('='),
                                QLatin1String(RecordsSetting::Database) + QLatin1Char('=')});
    settings.LoadData();
    translator.SetDllName(dataFolder + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(dataFolder);
    if (!translator.LoadLanguageLibrary() && prompts)
        prompts->ShowMessage(TMessageIcon::Error, translator.GetString(TextIndex::ProgramTitle),
                             translator.GetString(TextIndex::InterfaceTextFileMissing) + QLatin1Char('\n') +
                                 QDir::toNativeSeparators(translator.StoreFileName()));
}

void ApplyLinkPort(TOrvConnection& connection, const TOrvRegistryData& settings)
{
    const int baud = settings.GetIntData(QLatin1String(LinkSetting::BaudRate));
    connection.SetLinkPort(settings.GetStringData(QLatin1String(LinkSetting::Port)),
                           baud > 0 ? baud : LinkSetting::DefaultBaudRate);
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& dataFolder)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, dataFolder, module.Prompts());
    ApplyLinkPort(*module.OrvConnection(), settings);
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    // A settings file from before the setting existed, or a value below 1, keeps the default.
    const int kept = settings.GetIntData(QStringLiteral("BackupsKept"));
    module.Backups().SetRetention(kept > 0 ? kept : TBackupStore::DefaultRetention);
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
