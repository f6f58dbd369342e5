#include "app/ProgramSetup.h"

#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QDir>

namespace ProgramSetup {

void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& programDir,
                              TUserPrompts* prompts)
{
    settings.SetKeyName(QStringLiteral("software\\orv srl\\TZR582"));
    settings.SetIntegerDataList({QStringLiteral("Language=0")});
    settings.LoadData();
    translator.SetDllName(programDir + QStringLiteral("Dizionario\\Languages.dll"));
    ResourceLibrary::Load(programDir);
    if (!translator.LoadLanguageLibrary() && prompts)
        prompts->ShowMessage(TMessageIcon::Error, translator.GetString(1),
                             translator.GetString(202) + QLatin1Char('\n') +
                                 QDir::toNativeSeparators(translator.StoreFileName()));
}

void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& programDir)
{
    LoadSettingsAndLibraries(*module.Translator(), settings, programDir, module.Prompts());
    module.Translator()->SetLinguaCorrente(settings.GetIntData(QStringLiteral("Language")));
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
