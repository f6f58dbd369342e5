#include "chart/ChartChannels.h"

#include "datalog/LiveChannels.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <cmath>

namespace ChartChannels {

const QList<TChartChannel>& All()
{
    // clang-format off
    // The bands are grey steps, set apart from the coloured values beside them.
    static const QList<TChartChannel> channels = {
        // colour                  pane band  text                               English             decimals, lowest
        {QColor(0x2c, 0xa0, 0x2c), 2, false, TextIndex::ChannelEngineSpeed,     "Engine speed",     0, 0},    // VAL_GIRI
        {QColor(0xd6, 0x27, 0x28), 0, false, TextIndex::ChannelLambda,          "Lambda",           2, 0},    // VALORE_LAMBDA
        {QColor(0x1f, 0x77, 0xb4), 1, false, TextIndex::ChannelTps,             "TPS",              2, 0},    // VALOR_TPS
        {QColor(0x17, 0xbe, 0xcf), 1, false, TextIndex::ChannelTpsIdle,         "TPS idle",         2, 0},    // VALORE_MINIMO_TPS
        {QColor(0x94, 0x67, 0xbd), 3, false, TextIndex::ChannelActuator,        "Actuator",         0, 0},    // POSIZIONE_ATTUATORE
        {QColor(0x8c, 0x56, 0x4b), 3, false, TextIndex::ChannelDefaultPosition, "Default position", 0, 0},    // VALORE_POSIZIONE_DEFAULT
        {QColor(0x70, 0x70, 0x70), 0, true,  TextIndex::ChannelLambdaBand,      "Lambda band",      0, 0},    // FASCIA_LAMBDA
        {QColor(0x70, 0x70, 0x70), 1, true,  TextIndex::ChannelTpsBand,         "TPS band",         0, 0},    // FASCIA_TPS
        {QColor(0xff, 0x7f, 0x0e), 4, false, TextIndex::ChannelTemperature,     "Temperature",      0, -INFINITY}, // VAL_TEMPERATURA
    };
    // clang-format on
    return channels;
}

QList<int> OfPane(int pane)
{
    QList<int> channels;
    for (int channel = 0; channel < All().size(); ++channel) {
        if (All().at(channel).pane == pane)
            channels << channel;
    }
    return channels;
}

QStringList Labels(TTranslator* translator)
{
    QStringList labels;
    for (int channel = 0; channel < All().size(); ++channel) {
        const TChartChannel& style = All().at(channel);
        const QString name =
            translator ? translator->GetString(style.textIndex, style.english) : style.english;
        QString unit = LiveChannels().at(channel).unit;
        if (unit == QLatin1String("steps") && translator)
            unit = translator->GetString(TextIndex::StepsUnit, unit);
        labels << (unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit));
    }
    return labels;
}

QStringList LambdaBandNames(TTranslator* translator)
{
    const QStringList english = {QStringLiteral("Lean"), QStringLiteral("In band"), QStringLiteral("Rich")};
    if (!translator)
        return english;
    return {translator->GetString(TextIndex::LambdaLean, english.at(0)),
            translator->GetString(TextIndex::LambdaInBand, english.at(1)),
            translator->GetString(TextIndex::LambdaRich, english.at(2))};
}

} // namespace ChartChannels
