#include "report/ConfigurationPages.h"

namespace ConfigurationPages {

namespace {
constexpr int Vehicle = 24;
constexpr int Optional = 25;
constexpr int Actuator = 26;
using K = TPageSetting::Kind;
} // namespace

const QList<int>& Pages()
{
    static const QList<int> pages = {Vehicle, Actuator, Optional};
    return pages;
}

const QList<TPageSetting>& Settings()
{
    // clang-format off
    static const QList<TPageSetting> settings = {
        {Vehicle,  "TIPO_ACCENSIONE",            27,  K::Choice, 28, 33},
        {Vehicle,  "TIPO_SEGNALE_GIRI",          34,  K::Choice, 35, 36},
        {Vehicle,  "TIPO_CAMBIO",                37,  K::Choice, 38, 39},
        {Vehicle,  "TEMPERATURA_PER_CAMBIO",     40,  K::Number},
        {Vehicle,  "GiriPerCambio",              41,  K::Number},
        {Vehicle,  "TEMPO_SOVRAPPOSIZIONE",      42,  K::Number},
        {Vehicle,  "TIPO_COMMUTATORE",           44,  K::Switch, 45, 46},
        {Vehicle,  "TipoSensore",                47,  K::Choice, 48, 50},
        {Vehicle,  "TIPO_TPS",                   51,  K::Choice, 52, 57},
        {Vehicle,  "TIPO_SONDA_LAMBDA",          58,  K::Choice, 59, 64},
        {Vehicle,  "RITARDO_LETTURA_SONDA",      43,  K::Number},
        {Vehicle,  "TIPO_EMULAZIONE",            65,  K::Choice, 66, 68},
        {Actuator, "FLAG_GONFIGURAZIONE",        82,  K::Flag, 0, 0, 8},
        {Actuator, "POSIZIONE_DEFAULT",          83,  K::Number},
        {Actuator, "MASSIMA_APERTURA_ATTUATORE", 84,  K::Number},
        {Actuator, "MINIMA_APERTURA_ATTUATORE",  85,  K::Number},
        {Actuator, "FLAG_GONFIGURAZIONE",        76,  K::Flag, 0, 0, 1},
        {Actuator, "POSIZIONE_IN_AFFONDATA",     77,  K::Number},
        {Actuator, "TPS_PER_AFFONDATA",          78,  K::Number},
        {Optional, "FLAG_GONFIGURAZIONE",        79,  K::Flag, 0, 0, 4},
        {Optional, "GiriCutOff",                 80,  K::Number},
        {Optional, "POSIZIONE_IN_CUTOFF",        81,  K::Number},
        {Optional, "FLAG_CONFIGURAZIONE_2",      88,  K::Flag, 0, 0, 8},
        {Optional, "ISTERESI_MINIMO_TPS",        89,  K::Number},
        {Optional, "GiriFuoriGiri",              86,  K::Below, 0, 0, 9000},
        {Optional, "GiriFuoriGiri",              87,  K::Number},
        {Optional, "RifLambdaAlMinimo",          103, K::Number},
        {Optional, "RifLambdaFuoriMinimo",       104, K::Number},
    };
    // clang-format on
    return settings;
}

int CaptionOf(const QString& item)
{
    for (const TPageSetting& setting : Settings()) {
        if (item == QLatin1String(setting.item))
            return setting.caption;
    }
    return -1;
}

} // namespace ConfigurationPages
