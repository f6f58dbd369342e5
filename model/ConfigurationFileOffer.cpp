#include "model/ConfigurationFileOffer.h"

#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QDir>

TConfigurationFileOffer::TConfigurationFileOffer(TSerialDataModule& module, TLoad load)
    : m_module(module), m_load(std::move(load))
{
}

void TConfigurationFileOffer::Offer(const QString& fileName)
{
    m_waiting = fileName;
    if (m_module.IsUnitConnected())
        Ask();
    else
        m_module.Prompts()->ShowMessage(TMessageIcon::None, Text(TextIndex::ProgramTitle),
                                        Text(TextIndex::ConfigurationFileOfferedLater, fileName));
}

void TConfigurationFileOffer::UnitConnected()
{
    if (!m_waiting.isEmpty())
        Ask();
}

void TConfigurationFileOffer::Ask()
{
    const QString fileName = m_waiting;
    m_waiting.clear();
    if (m_module.Prompts()->AskYesNo(TMessageIcon::None, Text(TextIndex::ProgramTitle),
                                     Text(TextIndex::LoadConfigurationFileQuestion, fileName), true))
        m_load(fileName);
}

// String index of the current language, with the file name (as the system
// writes it) put in for "%1".
QString TConfigurationFileOffer::Text(int index, const QString& fileName) const
{
    return m_module.Translator()->GetString(index, 0).replace(QLatin1String("%1"),
                                                              QDir::toNativeSeparators(fileName));
}
