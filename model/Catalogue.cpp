#include "model/Catalogue.h"

#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"

#include <algorithm>

namespace Catalogue {

namespace {

const char* const Config = "CONFIGURAZIONE";
const char* const Commands = "COMANDI";
const Limits None{0, 0};

Conversion Identity()
{
    return {};
}

Conversion Formula(double a, double b, double c, double d)
{
    return {ConversionKind::Formula, a, b, c, d, {}};
}

// An exact lookup: unit values, then the user values they stand for.
Conversion Table(std::initializer_list<double> unitSide, std::initializer_list<double> userSide)
{
    Conversion conversion;
    conversion.kind = ConversionKind::Table;
    conversion.table << QList<double>(unitSide) << QList<double>(userSide);
    return conversion;
}

// Resistance ratio x / (255 - x) from the unit byte, then °C from the sensor's table.
Conversion Temperature()
{
    Conversion conversion = Formula(5, 0, -5, 1275);
    conversion.kind = ConversionKind::Temperature;
    conversion.table = TemperatureTable();
    return conversion;
}

// A byte whose bit 7 is the sign: 0..127 as they are, 128..255 as 0..-127.
Conversion SignMagnitude()
{
    Conversion conversion;
    conversion.kind = ConversionKind::SignMagnitude;
    return conversion;
}

// The unit stores bit 4 of the user value inverted.
Conversion InvertedBit4()
{
    Conversion conversion;
    conversion.kind = ConversionKind::InvertedBit4;
    return conversion;
}

// A table the item carries without converting through it.
Conversion WithStoredTable(Conversion conversion, const QList<double>& unitSide,
                           const QList<double>& userSide)
{
    conversion.table << unitSide << userSide;
    return conversion;
}

const Conversion Volts = Formula(5, 0, 0, 255);
const Conversion Rpm = Formula(0, 117000, 1, 0);
const Conversion WaveTicks = Formula(20, 0, 0, 1000);

QList<double> Range(int first, int last)
{
    QList<double> values;
    for (int v = first; first <= last ? v <= last : v >= last; first <= last ? ++v : --v)
        values << v;
    return values;
}

} // namespace

const QList<double>& TemperatureTable()
{
    static const QList<double> table = [] {
        const QList<double> ratios = {97.578,  67.65,   47.538,  33.831,  24.359,  17.753,  13.067,  9.7228,
                                      7.3007,  5.5361,  4.2332,  3.266,   2.5392,  1.9902,  1.5709,  1.2492,
                                      1.0,     0.805,   0.65326, 0.5329,  0.4371,  0.36,    0.299,   0.2493,
                                      0.2088,  0.1757,  0.148,   0.1262,  0.1076,  0.09215, 0.07922, 0.0683,
                                      0.05924, 0.05153, 0.04492, 0.0392,  0.0343,  0.03018, 0.02665, 0.023594,
                                      0.0209,  0.0186,  0.0166,  0.01486, 0.01332, 0.01198, 0.01079, 0.00974};
        QList<double> celsius;
        for (int i = 0; i < ratios.size(); ++i)
            celsius << -55.0 + 5 * i;
        return ratios + celsius;
    }();
    return table;
}

const QList<NumberRow>& Numbers()
{
    // clang-format off
    static const QList<NumberRow> rows = {
    // #   item                           address mask  conversion                          unit    step  limits       default  file key
    {  1, "TIPO_ACCENSIONE",               163, 0x07, Identity(),                          "",     0,    None,         4,     "TIPO ACCENSIONE", Config},
    {  2, "TIPO_SEGNALE_GIRI",             164, 0x10, Formula(1, 0, 0, 16),                "",     0,    None,         0,     "TIPO SEGNALE GIRI", Config},
    {  3, "TIPO_CAMBIO",                   163, 0x18, Formula(1, 0, 0, 8),                 "",     0,    None,         0,     "TIPO CAMBIO", Config},
    {  4, "TEMPO_SOVRAPPOSIZIONE",         216, 0xFF, Formula(4, -4, 0, 1000),             "s",    0.01, {0, 1},       0.4,   "TEMPO DI SOVRAPPOSIZIONE", Config},
    {  5, "TIPO_TPS",                      164, 0xE0, Formula(1, 0, 0, 32),                "",     0,    None,         0,     "TIPO DI TPS", Config},
    {  6, "TIPO_SONDA_LAMBDA",             165, 0xE0, Formula(1, 0, 0, 32),                "",     0,    None,         0,     "TIPO SONDA LAMBDA", Config},
    {  7, "RITARDO_LETTURA_SONDA",         205, 0xFF, Formula(5, 0, 0, 1),                 "s",    5,    {5, 1275},    5,     "RITARDO LETTURA SONDA", Config},
    {  8, "MASSIMA_APERTURA_ATTUATORE",    207, 0xFF, Identity(),                          "",     1,    {0, 240},     240,   "MASSIMA APERTURA ATTUATORE", Config},
    {  9, "MINIMA_APERTURA_ATTUATORE",     208, 0xFF, Identity(),                          "",     1,    {20, 240},    20,    "MINIMA APERTURA ATTUATORE", Config},
    { 10, "FLAG_GONFIGURAZIONE",           162, 0xFF, Identity(),                          "",     0,    None,         32,    "FLAG DI CONFIGURAZIONE", Config},
    { 11, "POSIZIONE_IN_AFFONDATA",        167, 0xFF, Identity(),                          "",     1,    {0, 240},     100,   "POSIZIONE IN AFFONDATA", Config},
    { 12, "TPS_PER_AFFONDATA",             166, 0xFF, Volts,                               "V",    0.1,  {0, 5},       2.8,   "TPS PER AFFONDATA", Config},
    { 13, "POSIZIONE_IN_CUTOFF",           206, 0xFF, Identity(),                          "",     1,    {20, 240},    80,    "POSIZIONE IN CUTOFF", Config},
    { 14, "POSIZIONE_DEFAULT",             168, 0xFF, Identity(),                          "",     1,    {20, 240},    100,   "POSIZIONE DEFAULT FISSO", Config},
    { 15, "FLAG_CONFIGURAZIONE_2",         164, 0x08, Identity(),                          "",     0,    None,         0,     "FLAG CONFIGURAZIONE 2", Config},
    { 16, "ISTERESI_MINIMO_TPS",           194, 0xFF, Volts,                               "V",    0.01, {0, 0.5},     0.14,  "ISTERESI MINIMO TPS", Config},
    { 17, "CHECKUP",                       161, 0xFF, Identity(),                          "",     1,    None,         172,   "CHECKUP", Config},
    { 19, "TEMPERATURA_PER_CAMBIO",        224, 0xFF, Temperature(),                       "°C",   1,    {0, 40},      25,    "TEMPERATURA PER CAMBIO", Config},
    { 26, "TIPO_COMMUTATORE",              226, 0xFF, WithStoredTable(Identity(), {5, 132}, {0, 1}),
                                                                                           "",     0,    None,         0,     "TIPO COMMUTATORE", Config},
    { 27, "RIPROGRAMMAZIONE",               -1, 0xFF, Identity(),                          "",     0,    None,         240,   "RIPROGRAMMAZIONE", Commands},
    { 30, "GiriPerCambio",                 223, 0xFF, Rpm,                                 "RPM",  100,  {1000, 3000}, 2000,  "RIFERIMENTO GIRI CAMBIO", Config},
    { 31, "GiriSbananata",                 213, 0xFF, Rpm,                                 "RPM",  100,  {0, 8000},    3600,  "GIRI_SBANANATA", Config},
    { 32, "GiriCutOff",                    204, 0xFF, Rpm,                                 "RPM",  100,  {0, 8000},    1500,  "GIRI CUTOFF", Config},
    { 33, "GiriFuoriGiri",                 225, 0xFF, Rpm,                                 "RPM",  100,  {0, 8000},    20000, "GIRI FUORI GIRI", Config},
    { 34, "TipoSensore",                   164, 0x07, Table({1, 2, 4}, {0, 1, 2}),         "",     0,    None,         0,     "TIPO DI SENSORE", Config},
    { 35, "NUMERO_VOLTE_ALTO",             169, 0xFF, WaveTicks,                           "s",    0.01, {0, 5},       0.36,  "NUMERO DI VOLTE ALTO", Config},
    { 36, "NUVERO_VOLTE_BASSO",            170, 0xFF, WaveTicks,                           "s",    0.01, {0, 5},       0.36,  "NUMERO DI VOLTE BASSO", Config},
    { 37, "NUMERO_VOLTE_TRI",              171, 0xFF, Identity(),                          "s",    1,    {0, 255},     0,     "NUMERO DI VOLTE TRI", Config},
    { 38, "NUMERO_RIPETIZIONI_ONDA",       172, 0xFF, Identity(),                          "s",    1,    {0, 255},     1,     "NUMERO RIPETIZIONI ONDA", Config},
    { 39, "NUMERO_RIPETIZIONI_TRI",        173, 0xFF, Identity(),                          "s",    0.01, {0, 255},     0,     "NUMERO RIPETIZIONI TRI", Config},
    { 40, "RifLambdaAlMinimo",             199, 0xFF, Volts,                               "V",    0.01, {0.5, 5},     0.55,  "RIF LAMBDA MINIMO", Config},
    { 41, "RifLambdaFuoriMinimo",          200, 0xFF, Volts,                               "V",    0.01, {0.5, 5},     0.55,  "RIF LAMBDA FUORI MINIMO", Config},
    { 42, "RifLambdaRiccoFreddo",          198, 0xFF, Volts,                               "V",    0.01, {0, 5},       0.55,  "RICCO FREDDO", Config},
    { 43, "TIPO_EMULAZIONE",               163, 0x60, Table({0, 32, 64}, {0, 1, 2}),       "",     0,    None,         2,     "TIPO DI EMULAZIONE", Config},
    { 44, "AperturaSfigFuoriMin",          185, 0xFF, Identity(),                          "",     1,    {0, 255},     25,    "FRAZ DEF SOPRA DEF SFIG", Config},
    { 45, "FLAG_CONFIGURAZIONE_3",         165, 0xFF, InvertedBit4(),                      "",     0,    None,         16,    "FLAG CONFIGURAZIONE 3", Config},
    { 46, "AperturaSfigFuoriMinEco",       186, 0xFF, Identity(),                          "",     1,    {0, 250},     8,     "FRAZ DEF SOTTO DEF SFIG ECO", Config},
    { 47, "TPSFasciaApprendimento",        196, 0xFF, Volts,                               "V",    0.1,  {1.4, 3.4},   2,     "TPS FASCIA APPRENDIMENTO", Config},
    { 48, "PosizioneASondaFredda",         219, 0xFF, WithStoredTable(SignMagnitude(), Range(0, 255), Range(0, 127) + Range(0, -127)),
                                                                                           "",     1,    {-127, 128},  0,     "POSIZIONE DOPO CAMBIO", Config},
    { 49, "RifLambdaInPotenza",            202, 0xFF, Volts,                               "V",    0.01, {0.5, 5},     0.55,  "RIF LAMBDA IN POTENZA", Config},
    { 50, "TempoTraTestMagroPower",        212, 0xFF, WaveTicks,                           "s",    0.01, {0, 5},       0.2,   "NUMERO DI PASSI AL PRIMO GRASSO IN SBANANATA", Config},
    { 51, "NPassiPrimoMagroPower",         214, 0xFF, Identity(),                          "",     1,    {1, 20},      4,     "NUMERO DI PASSI AL PRIMO MAGRO IN SBANANATA", Config},
    { 52, "NPassiTestMagroPower",          211, 0xFF, Identity(),                          "",     1,    {1, 20},      4,     "NUMERO DI PASSI TEST MAGRO IN SBANANATA", Config},
    { 53, "TPSSbananata",                  215, 0xFF, Volts,                               "V",    0.1,  {0, 5},       3.5,   "TPS INIZIO FASCIA SBANANATA", Config},
    { 54, "OrvNumberTPSRif2",              197, 0xFF, Volts,                               "V",    0.1,  {0, 5},       3.5,   "TPS SBANANATA", Config},
    { 55, "PosizioneInOpenLoop",           218, 0xFF, Identity(),                          "",     1,    {20, 240},    100,   "POSIZIONE IN OPEN LOOP", Config},
    { 56, "TempoDiCicchetto",              223, 0xFF, WaveTicks,                           "s",    0.01, {0, 5},       1,     "TEMPO DI CICCHETTO", Config},
    { 57, "VelIngrMinimo",                 174, 0xFF, Identity(),                          "ms",   1,    {2, 255},     60,    "TEMPO TRA PASSI AD INGRASSARE AL MINIMO", Config},
    { 58, "VelSmagrMinimo",                175, 0xFF, Identity(),                          "ms",   1,    {2, 255},     80,    "TEMPO TRA PASSI A SMAGRIRE AL MINIMO", Config},
    { 59, "VelIngrCrociera",               177, 0xFF, Identity(),                          "ms",   1,    {2, 255},     35,    "TEMPO TRA PASSI AD INGRASSARE IN CROCIERA", Config},
    { 60, "VelSmagrCrociera",              178, 0xFF, Identity(),                          "ms",   1,    {2, 255},     60,    "TEMPO TRA PASSI A SMAGRIRE IN CROCIERA", Config},
    { 61, "MinimaAperturaAlMinimo",        187, 0xFF, Identity(),                          "",     1,    {0, 240},     25,    "MINIMA APERTURA ATTUATORE AL MINIMO", Config},
    { 62, "MassimaAperturaAlMinimo",       184, 0xFF, Identity(),                          "",     1,    {0, 240},     25,    "MASSIMA APERTURA ATTUATORE AL MINIMO", Config},
    { 63, "MinimaAperturaInCrociera",      189, 0xFF, Identity(),                          "",     1,    {0, 255},     255,   "MINIMA APERTURA ATTUATORE IN CROCIERA", Config},
    { 64, "MassimaAperturaInCrociera",     188, 0xFF, Identity(),                          "",     1,    {0, 255},     255,   "MASSIMA APERTURA ATTUATORE IN CROCIERA", Config},
    { 65, "FrazDefEntroMinimo",            182, 0xFF, SignMagnitude(),                     "",     1,    {-100, 100},  0,     "POSIZIONE IN ENTRATA AL MINIMO", Config},
    { 66, "FrazDefEscoMinimo",             183, 0xFF, SignMagnitude(),                     "",     1,    {-100, 100},  5,     "POSIZIONE IN USCITA DAL MINIMO", Config},
    { 67, "ValoreMinimoTPS",               195, 0xFF, Volts,                               "V",    0.1,  {0, 5},       1.4,   "MINIMO TPS", Config},
    { 68, "RitardoSmagrPrimoGrasso",       209, 0xFF, Identity(),                          "ms",   1,    {0, 255},     120,   "NUMERO DI PASSI AL PRIMO GRASSO IN CROCIERA", Config},
    { 69, "NPassiPrimoMagroCrociera",      210, 0xFF, Identity(),                          "",     1,    {1, 20},      1,     "NUMERO DI PASSI AL PRIMO MAGRO IN CROCIERA", Config},
    { 70, "OrvNumberVelSmagrSbana",        180, 0xFF, Identity(),                          "ms",   1,    {2, 255},     80,    "TEMPO TRA PASSI A SMAGRIRE SBANA", Config},
    { 71, "OrvNumberVelIngrSbana",         179, 0xFF, Identity(),                          "ms",   1,    {2, 255},     20,    "TEMPO TRA PASSI AD INGRASSARE SBANA", Config},
    { 72, "GiriCutOffFiliGialli",          192, 0xFF, Rpm,                                 "RPM",  100,  {1000, 8000}, 12000, "GIRI CUTTOFF FILI GIALLI", Config},
    { 73, "GiriSgancioCutOffFiliGialli",   193, 0xFF, Rpm,                                 "RPM",  100,  {1000, 8000}, 12000, "GIRI SGANCIO CUTOFF FILI GIALLI", Config},
    { 74, "MaxAperturaInFuga",             191, 0xFF, Identity(),                          "",     1,    {0, 50},      10,    "FRAZ DEF FUGA GRASSA", Config},
    { 75, "MinAperturaInFuga",             190, 0xFF, Identity(),                          "",     1,    {0, 50},      10,    "FRAZ DEF FUGA MAGRA", Config},
    { 76, "VelocitaFuga",                  176, 0xFF, Identity(),                          "ms",   1,    {2, 255},     20,    "TEMPO TRA PASSI IN FUGA", Config},
    { 77, "MaxRicco",                      201, 0xFF, Volts,                               "V",    0.01, {0.55, 5},    0.55,  "MAX RICCO", Config},
    };
    // clang-format on
    return rows;
}

const NumberRow* FindNumber(const QString& name)
{
    const QList<NumberRow>& rows = Numbers();
    const auto row = std::find_if(rows.cbegin(), rows.cend(),
                                  [&](const NumberRow& r) { return name == QLatin1String(r.name); });
    return row == rows.cend() ? nullptr : &*row;
}

const QList<PacketRow>& Packets()
{
    // clang-format off
    static const QList<PacketRow> rows = {
    // #   item                         packet byte  conversion     step
    { 18, "VALORE_LAMBDA",              1,           Volts,         0.01},
    { 20, "VALOR_TPS",                  2,           Volts,         0.01},
    { 21, "VALORE_MINIMO_TPS",          3,           Volts,         0.01},
    { 22, "POSIZIONE_ATTUATORE",        4,           Identity(),    1},
    { 23, "VALORE_POSIZIONE_DEFAULT",   5,           Identity(),    1},
    { 24, "FASCIA_TPS",                 7,           Identity(),    0},
    { 25, "FASCIA_LAMBDA",              6,           Identity(),    0},
    { 28, "VAL_TEMPERATURA",            8,           Temperature(), 1},
    { 29, "VAL_GIRI",                   0,           Rpm,           10},
    };
    // clang-format on
    return rows;
}

bool LimitsDisabledInForm(int number)
{
    static const QList<int> numbers = {1, 2, 3, 5, 6, 10, 15, 17, 26, 27, 34, 43, 45};
    return numbers.contains(number);
}

int DataGroupOf(int number)
{
    return (number >= 30 && number <= 33) || number == 72 || number == 73 ? 1 : 0;
}

namespace {

TOrvSerialData::TransformationType TransformationOf(ConversionKind kind)
{
    switch (kind) {
    case ConversionKind::Identity:
        return TOrvSerialData::ttNone;
    case ConversionKind::Formula:
        return TOrvSerialData::ttFormula;
    case ConversionKind::Table:
        return TOrvSerialData::ttTabled;
    case ConversionKind::Temperature:
        return TOrvSerialData::ttNonLinearTabled;
    case ConversionKind::SignMagnitude:
    case ConversionKind::InvertedBit4:
        return TOrvSerialData::ttCustom;
    }
    return TOrvSerialData::ttNone;
}

void ApplyConversion(const Conversion& conversion, TOrvSerialData& item)
{
    item.SetTransformationType(TransformationOf(conversion.kind));
    item.SetCoeffs({conversion.a, conversion.b, conversion.c, conversion.d});
    if (!conversion.table.isEmpty()) {
        // The list starts with the number of pairs it holds.
        const qsizetype pairs = conversion.table.size() / 2;
        item.SetConversionTableList(QList<double>{double(pairs)} + conversion.table);
    }
}

} // namespace

void Apply(const NumberRow& row, TOrvNumber& item)
{
    item.setObjectName(QString::fromLatin1(row.name));
    item.BeginLoading();
    item.SetDataMask(row.mask); // before the default: a new mask clears it
    ApplyConversion(row.conversion, item);
    item.SetMeasureUnit(QString::fromUtf8(row.unit));
    item.SetPrecision(row.step);
    item.SetMinValue(row.limits.min);
    item.SetMaxValue(row.limits.max);
    item.SetDefaultValue(row.defaultValue);
    item.SetDisableLimits(LimitsDisabledInForm(row.number));
    item.SetDataGroup(DataGroupOf(row.number));
    item.SetByAddress(row.address >= 0);
    item.SetAddress(std::max(row.address, 0));
    item.SetSerialCode(0);
    item.SetFileSection(QString::fromLatin1(row.fileSection));
    item.SetFileKeyName(QString::fromLatin1(row.fileKey));
}

void Apply(const PacketRow& row, TOrvPacketData& item)
{
    item.setObjectName(QString::fromLatin1(row.name));
    item.BeginLoading();
    ApplyConversion(row.conversion, item);
    item.SetPrecision(row.step);
    item.SetOffset(row.offset);
    item.SetTimeInterval(100);
    item.SetDisableLimits(true);
}

} // namespace Catalogue
