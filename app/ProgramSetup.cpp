#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "link/OrvConnection.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QDir>

namespace ProgramSetup {

namespace {

const QString SettingsKey = QStringLiteral("software\\orv srl\\TZR582");

} // namespace

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
    settings.SetIntegerDataList({QStringLiteral("Language=0"),
                                 QLatin1String(LinkSetting::BaudRate) + u'=' + QString::number(LinkSetting::DefaultBaudRate),
                                 QStringLiteral("BackupsKept=%1").arg(TBackupStore::DefaultRetention)});
    settings.SetStringDataList({QLatin1String(LinkSetting::Port) + QLatin1Char('='),
                                QLatin1String(WorkshopSetting::Name) + QLatin1Char('='),
                                QLatin1String(WorkshopSetting::Address) + QLatin1Char('=')});
    settings.LoadData();
    translator.SetDllName(dataFolder + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(dataFolder);
    if (!translator.LoadLanguageLibrary() && prompts)
        prompts->ShowMessage(TMessageIcon::Error, translator.GetString(1),
                             translator.GetString(202) + QLatin1Char('\n') +
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
