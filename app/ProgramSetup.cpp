#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

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

void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& dataFolder)
{
    settings.SetKeyName(SettingsKey);
    settings.SetIntegerDataList({QStringLiteral("Language=0")});
    settings.LoadData();
    translator.SetDllName(dataFolder + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(dataFolder);
    translator.LoadLanguageLibrary();
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& dataFolder)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, dataFolder);
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
