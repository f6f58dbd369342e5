#include "app/OperationMessages.h"

#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QDir>

void OperationMessages::ReportConnectFailure(const TSerialDataModule& module, const QString& caption,
                                             int result)
{
    QString text;
    if (result == TSerialDataModule::NoAnswer)
        text = module.MessageText(TextIndex::UnitDoesNotAnswer) + QLatin1Char('\n') +
               module.MessageText(TextIndex::CheckCableAndIgnition) + QStringLiteral("\n(ERR.CODE: C01)");
    else if (result == TSerialDataModule::OtherUnit)
        text = module.MessageText(TextIndex::UnsupportedUnitKind);
    else if (result == TSerialDataModule::NoLinkLibrary)
        text = module.Translator()->GetString(TextIndex::LinkLibraryNotLoaded, 0);
    else if (result == TSerialDataModule::LinkLostReading)
        text = module.Translator()->GetString(TextIndex::LinkLostWhileReading, 0);
    else if (result == TSerialDataModule::InUse)
        text = module.MessageText(TextIndex::UnitInUseByOtherProgram);
    if (!text.isEmpty())
        module.Prompts()->ShowMessage(TMessageIcon::Error, caption, text);
}

bool OperationMessages::ConfirmReprogramming(TSerialDataModule& module)
{
    TTranslator& translator = *module.Translator();
    const QString question =
        module.IsUnitConnected()
            ? translator.GetString(TextIndex::ReprogramWithBackupQuestion, 0)
                  .replace(QLatin1String("%1"), QDir::toNativeSeparators(module.Backups().Folder()))
            : translator.GetString(TextIndex::ReprogramWithoutBackupQuestion, 0);
    return module.Prompts()->AskYesNo(TMessageIcon::None,
                                      translator.GetString(TextIndex::ReprogramFirmware, 0), question, false);
}
