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
    settings.SetIntegerDataList(
        {QStringLiteral("Language=0"), QStringLiteral("BackupsKept=%1").arg(TBackupStore::DefaultRetention)});
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
    // A settings file from before the setting existed, or a value below 1, keeps the default.
    const int kept = settings.GetIntData(QStringLiteral("BackupsKept"));
    module.Backups().SetRetention(kept > 0 ? kept : TBackupStore::DefaultRetention);
    module.RefreshMessageTexts();
}

} // namespace ProgramSetup
