#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

namespace ProgramSetup {

void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& programDir)
{
    settings.SetKeyName(QStringLiteral("software\\orv srl\\TZR582"));
    settings.SetIntegerDataList({QStringLiteral("Language=0")});
    settings.LoadData();
    translator.SetDllName(programDir + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(programDir);
    translator.LoadLanguageLibrary();
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& programDir)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, programDir);
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
