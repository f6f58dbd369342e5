#include "datalog/LiveChannels.h"

const QList<TLogChannel>& LiveChannels()
{
    static const QList<TLogChannel> channels = {
        {QStringLiteral("VAL_GIRI"), QStringLiteral("RPM")},
        {QStringLiteral("VALORE_LAMBDA"), QStringLiteral("V")},
        {QStringLiteral("VALOR_TPS"), QStringLiteral("V")},
        {QStringLiteral("VALORE_MINIMO_TPS"), QStringLiteral("V")},
        {QStringLiteral("POSIZIONE_ATTUATORE"), QStringLiteral("steps")},
        {QStringLiteral("VALORE_POSIZIONE_DEFAULT"), QStringLiteral("steps")},
        {QStringLiteral("FASCIA_LAMBDA"), QString()},
        {QStringLiteral("FASCIA_TPS"), QString()},
        {QStringLiteral("VAL_TEMPERATURA"), QStringLiteral("°C")},
    };
    return channels;
}
