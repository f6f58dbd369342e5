#include "model/ConfigurationPages.h"

#include "support/TextIndex.h"

namespace ConfigurationPages {

namespace {
constexpr int Vehicle = TextIndex::VehicleConfigurationPage;
constexpr int Optional = TextIndex::OptionalSettingsPage;
constexpr int Actuator = TextIndex::ActuatorPage;
using K = TPageSetting::Kind;
} // namespace

const QList<int>& Pages()
{
    static const QList<int> pages = {Vehicle, Actuator, Optional};
    return pages;
}

const QList<TPageSetting>& Settings()
{
    static const QList<TPageSetting> settings = {
        {Vehicle, "TIPO_ACCENSIONE", TextIndex::IgnitionType, K::Choice, TextIndex::FourCylinders,
         TextIndex::FourCylindersInjectorSignal},
        {Vehicle, "TIPO_SEGNALE_GIRI", TextIndex::RpmSignal, K::Choice, TextIndex::RpmSignalStandard,
         TextIndex::RpmSignalWeak},
        {Vehicle, "TIPO_CAMBIO", TextIndex::ChangeoverType, K::Choice, TextIndex::ChangeoverOnDeceleration,
         TextIndex::ChangeoverOnAcceleration},
        {Vehicle, "TEMPERATURA_PER_CAMBIO", TextIndex::ChangeoverTemperature, K::Number},
        {Vehicle, "GiriPerCambio", TextIndex::ChangeoverRpm, K::Number},
        {Vehicle, "TEMPO_SOVRAPPOSIZIONE", TextIndex::ChangeoverOverlapTime, K::Number},
        {Vehicle, "TIPO_COMMUTATORE", TextIndex::SwitchType, K::Switch, TextIndex::SwitchPushButtonOnly,
         TextIndex::SwitchWithIndicator},
        {Vehicle, "TipoSensore", TextIndex::LevelSensorType, K::Choice, TextIndex::LevelSensorLandiRenzo,
         TextIndex::LevelSensor0To90Ohm},
        {Vehicle, "TIPO_TPS", TextIndex::TpsType, K::Choice, TextIndex::TpsLinear0To5Volt, TextIndex::NoTps},
        {Vehicle, "TIPO_SONDA_LAMBDA", TextIndex::LambdaProbeType, K::Choice, TextIndex::LambdaProbe0To1Volt,
         TextIndex::LambdaProbe08To16Volt},
        {Vehicle, "RITARDO_LETTURA_SONDA", TextIndex::LambdaProbeReadingDelay, K::Number},
        {Vehicle, "TIPO_EMULAZIONE", TextIndex::EmulationType, K::Choice, TextIndex::NoEmulation,
         TextIndex::CustomWaveEmulation},
        {Actuator, "FLAG_GONFIGURAZIONE", TextIndex::SetFixedDefault, K::Flag, 0, 0, 8},
        {Actuator, "POSIZIONE_DEFAULT", TextIndex::FixedDefaultPosition, K::Number},
        {Actuator, "MASSIMA_APERTURA_ATTUATORE", TextIndex::ActuatorMaximumOpening, K::Number},
        {Actuator, "MINIMA_APERTURA_ATTUATORE", TextIndex::ActuatorMinimumOpening, K::Number},
        {Actuator, "FLAG_GONFIGURAZIONE", TextIndex::EnableFullThrottle, K::Flag, 0, 0, 1},
        {Actuator, "POSIZIONE_IN_AFFONDATA", TextIndex::FullThrottlePosition, K::Number},
        {Actuator, "TPS_PER_AFFONDATA", TextIndex::FullThrottleTps, K::Number},
        {Optional, "FLAG_GONFIGURAZIONE", TextIndex::CutOff, K::Flag, 0, 0, 4},
        {Optional, "GiriCutOff", TextIndex::CutOffRpm, K::Number},
        {Optional, "POSIZIONE_IN_CUTOFF", TextIndex::CutOffActuatorPosition, K::Number},
        {Optional, "FLAG_CONFIGURAZIONE_2", TextIndex::EconomyDriving, K::Flag, 0, 0, 8},
        {Optional, "ISTERESI_MINIMO_TPS", TextIndex::TpsIdleHysteresis, K::Number},
        {Optional, "GiriFuoriGiri", TextIndex::EnableOverSpeed, K::Below, 0, 0, 9000},
        {Optional, "GiriFuoriGiri", TextIndex::OverSpeedRpmThreshold, K::Number},
        {Optional, "RifLambdaAlMinimo", TextIndex::LambdaReferenceAtIdle, K::Number},
        {Optional, "RifLambdaFuoriMinimo", TextIndex::LambdaReferenceOffIdle, K::Number},
    };
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
