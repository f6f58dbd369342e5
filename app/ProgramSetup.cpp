#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
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
    settings.SetIntegerDataList({QStringLiteral("Language=0")});
    settings.LoadData();
    translator.SetDllName(dataFolder + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(dataFolder);
    if (!translator.LoadLanguageLibrary() && prompts)
        prompts->ShowMessage(TMessageIcon::Error, translator.GetString(1),
                             translator.GetString(202) + QLatin1Char('\n') +
                                 QDir::toNativeSeparators(translator.StoreFileName()));
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& dataFolder)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, dataFolder, module.Prompts());
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
