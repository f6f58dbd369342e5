#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "link/OrvConnection.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

namespace ProgramSetup {

void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& programDir)
{
    settings.SetKeyName(QStringLiteral("software\\orv srl\\TZR582"));
    settings.SetIntegerDataList({QStringLiteral("Language=0"), QLatin1String(LinkSetting::BaudRate) + u'=' +
                                                                     QString::number(LinkSetting::DefaultBaudRate)});
    settings.SetStringDataList({QLatin1String(LinkSetting::Port) + QLatin1Char('=')});
    settings.LoadData();
    translator.SetDllName(programDir + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(programDir);
    translator.LoadLanguageLibrary();
}

void ApplyLinkPort(TOrvConnection& connection, const TOrvRegistryData& settings)
{
    const int baud = settings.GetIntData(QLatin1String(LinkSetting::BaudRate));
    connection.SetLinkPort(settings.GetStringData(QLatin1String(LinkSetting::Port)),
                           baud > 0 ? baud : LinkSetting::DefaultBaudRate);
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& programDir)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, programDir);
    ApplyLinkPort(*module.OrvConnection(), settings);
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
