#include "model/ParameterRules.h"

#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "items/Rounding.h"
#include "model/SerialDataModule.h"

namespace {

// Coefficient B of the engine-speed formula RPM = B / x for each ignition type.
double IgnitionScale(int ignitionType)
{
    switch (ignitionType) {
    case 1:
        return 96000;
    case 2:
    case 6:
        return 80000;
    case 3:
        return 60000;
    default:
        return 120000;
    }
}

double SignMagnitudeToUser(int x)
{
    return x < 128 ? x : 128 - x;
}

int SignMagnitudeToEcu(double u)
{
    return u >= 0 ? TruncToInt(u) : TruncToInt(128 - u);
}

} // namespace

TParameterRules::TParameterRules(TSerialDataModule& module) : m_module(module) {}

void TParameterRules::OnGet(const char* name, Handler handler)
{
    m_module.ItemNamed(QLatin1String(name)).OnGetData = [this, handler](QObject*) { Run(handler); };
}

void TParameterRules::OnSet(const char* name, Handler handler)
{
    m_setRules.insert(&m_module.NumberNamed(QLatin1String(name)), handler);
}

void TParameterRules::Wire()
{
    OnGet("TIPO_ACCENSIONE", &TParameterRules::TIPO_ACCENSIONEGetData);
    OnSet("TIPO_ACCENSIONE", &TParameterRules::TIPO_ACCENSIONESetData);
    OnGet("TIPO_TPS", &TParameterRules::TIPO_TPSSetData);
    OnSet("TIPO_TPS", &TParameterRules::TIPO_TPSSetData);
    OnSet("TIPO_SONDA_LAMBDA", &TParameterRules::TIPO_SONDA_LAMBDASetData);
    for (const char* name : {"MASSIMA_APERTURA_ATTUATORE", "MINIMA_APERTURA_ATTUATORE",
                             "MinimaAperturaAlMinimo", "FrazDefEntroMinimo", "FrazDefEscoMinimo"}) {
        OnGet(name, &TParameterRules::MASSIMA_APERTURA_ATTUATORESetData);
        OnSet(name, &TParameterRules::MASSIMA_APERTURA_ATTUATORESetData);
    }
    OnSet("FLAG_GONFIGURAZIONE", &TParameterRules::FLAG_GONFIGURAZIONESetData);
    OnGet("TIPO_COMMUTATORE", &TParameterRules::TIPO_COMMUTATOREGetData);
    OnSet("GiriCutOffFiliGialli", &TParameterRules::GiriCutOffFiliGialliSetData);
    OnGet("FASCIA_TPS", &TParameterRules::FASCIA_TPSGetData);
    OnGet("FASCIA_LAMBDA", &TParameterRules::FASCIA_LAMBDAGetData);
    OnGet("VAL_GIRI", &TParameterRules::VAL_GIRIGetData);

    // The sign-and-magnitude bytes and the flag byte with its inverted bit 4.
    for (const char* name : {"PosizioneASondaFredda", "FrazDefEntroMinimo", "FrazDefEscoMinimo"}) {
        TOrvSerialData& item = m_module.ItemNamed(QLatin1String(name));
        item.OnConvertToUser = [](QObject*, int x, double& u) { u = SignMagnitudeToUser(x); };
        item.OnConvertToEcu = [](QObject*, double u, int& x) { x = SignMagnitudeToEcu(u); };
    }
    TOrvSerialData& flags = m_module.ItemNamed(QStringLiteral("FLAG_CONFIGURAZIONE_3"));
    flags.OnConvertToUser = [](QObject*, int x, double& u) { u = x ^ 0x10; };
    flags.OnConvertToEcu = [](QObject*, double u, int& x) { x = TruncToInt(u) ^ 0x10; };
}

void TParameterRules::RunSetRule(TOrvNumber* number)
{
    if (const Handler handler = m_setRules.value(number))
        Run(handler);
}

void TParameterRules::ApplyActuatorLimits()
{
    Run(&TParameterRules::MASSIMA_APERTURA_ATTUATORESetData);
}

void TParameterRules::Run(Handler handler)
{
    QStringList& failed = m_module.m_failedFollowOns;
    const qsizetype before = failed.size();
    ++m_depth;
    (this->*handler)();
    --m_depth;
    if (m_depth == 0 && !m_module.m_loading && failed.size() > before)
        m_module.ReportFailedWrites(failed.mid(before));
}

void TParameterRules::ApplyIgnitionScale(int ignitionType)
{
    const double scale = IgnitionScale(ignitionType);
    for (const char* name : {"VAL_GIRI", "GiriPerCambio", "GiriSbananata", "GiriCutOff", "GiriFuoriGiri"})
        m_module.ItemNamed(QLatin1String(name)).SetCoeffB(scale);
}

void TParameterRules::TIPO_ACCENSIONEGetData()
{
    ApplyIgnitionScale(m_module.IntOf("TIPO_ACCENSIONE"));
}

void TParameterRules::TIPO_ACCENSIONESetData()
{
    // The thresholds keep their engine speed: read them on the old scale, then
    // write them back so that their unit bytes follow the new one.
    const int changeover = m_module.IntOf("GiriPerCambio");
    const int power = m_module.IntOf("GiriSbananata");
    const int cutOff = m_module.IntOf("GiriCutOff");
    const int overSpeed = m_module.IntOf("GiriFuoriGiri");
    ApplyIgnitionScale(m_module.IntOf("TIPO_ACCENSIONE"));
    m_module.m_prompts->Wait(1000);
    m_module.WriteInt("GiriSbananata", power);
    m_module.WriteInt("GiriCutOff", cutOff);
    TSerialDataModule::WithLimitsSuspended(&m_module.ItemNamed(QStringLiteral("GiriFuoriGiri")),
                                           [&] { m_module.WriteInt("GiriFuoriGiri", overSpeed); });
    // With start on gas, byte 223 holds the priming time instead.
    if (m_module.IntOf("TIPO_CAMBIO") != 2)
        m_module.WriteInt("GiriPerCambio", changeover);
}

void TParameterRules::TIPO_TPSSetData()
{
    const int kind = m_module.IntOf("TIPO_TPS");
    const bool reversed = kind == 1 || kind == 3; // the 5-0 V and 12-0 V sensors
    for (const char* name :
         {"VALORE_MINIMO_TPS", "TPS_PER_AFFONDATA", "TPSSbananata", "TPSFasciaApprendimento"}) {
        TOrvSerialData& item = m_module.ItemNamed(QLatin1String(name));
        item.SetCoeffA(reversed ? -5 : 5);
        item.SetCoeffB(reversed ? 1275 : 0);
    }
    for (const char* name : {"TPS_PER_AFFONDATA", "TPSSbananata", "TPSFasciaApprendimento"})
        m_module.ItemNamed(QLatin1String(name)).Load();
}

void TParameterRules::TIPO_SONDA_LAMBDASetData()
{
    m_module.ItemNamed(QStringLiteral("FLAG_CONFIGURAZIONE_3")).Load();
}

void TParameterRules::MASSIMA_APERTURA_ATTUATORESetData()
{
    // The pause gives the unit time after the write; without a unit it would
    // only delay (the configuration window applies the defaults at start-up).
    if (m_module.IsUnitConnected())
        m_module.m_prompts->Wait(100);
    auto max = [this] { return m_module.IntOf("MASSIMA_APERTURA_ATTUATORE"); };
    auto min = [this] { return m_module.IntOf("MINIMA_APERTURA_ATTUATORE"); };
    m_module.ItemNamed(QStringLiteral("MINIMA_APERTURA_ATTUATORE")).SetMaxValue(max());
    m_module.ItemNamed(QStringLiteral("MASSIMA_APERTURA_ATTUATORE")).SetMinValue(min());
    m_module.ItemNamed(QStringLiteral("POSIZIONE_IN_CUTOFF")).SetMaxValue(max());
    if (m_module.IntOf("POSIZIONE_IN_CUTOFF") > max())
        m_module.WriteInt("POSIZIONE_IN_CUTOFF", max());
    m_module.ItemNamed(QStringLiteral("POSIZIONE_DEFAULT")).SetMaxValue(max());
    m_module.ItemNamed(QStringLiteral("POSIZIONE_DEFAULT")).SetMinValue(min());
    m_module.ItemNamed(QStringLiteral("POSIZIONE_DEFAULT")).Load();
    m_module.ItemNamed(QStringLiteral("POSIZIONE_IN_AFFONDATA")).SetMinValue(min());
}

void TParameterRules::FLAG_GONFIGURAZIONESetData()
{
    emit m_module.DependentEditsUpdateRequested();
    m_module.ItemNamed(QStringLiteral("POSIZIONE_DEFAULT")).Load();
}

void TParameterRules::TIPO_COMMUTATOREGetData()
{
    emit m_module.SwitchComboSyncRequested();
}

void TParameterRules::GiriCutOffFiliGialliSetData()
{
    const int cutOff = m_module.IntOf("GiriCutOffFiliGialli");
    m_module.ItemNamed(QStringLiteral("GiriSgancioCutOffFiliGialli")).SetMaxValue(cutOff);
    if (cutOff < m_module.IntOf("GiriSgancioCutOffFiliGialli"))
        m_module.WriteInt("GiriSgancioCutOffFiliGialli", cutOff - 100);
}

void TParameterRules::FASCIA_TPSGetData()
{
    const int band = m_module.PacketNamed(QStringLiteral("FASCIA_TPS")).GetInt();
    if (band >= 0 && band <= 3)
        emit m_module.BandLampChanged(TSerialDataModule::Band::Tps, band);
}

void TParameterRules::FASCIA_LAMBDAGetData()
{
    const int band = m_module.PacketNamed(QStringLiteral("FASCIA_LAMBDA")).GetInt();
    if (band >= 0 && band <= 2)
        emit m_module.BandLampChanged(TSerialDataModule::Band::Lambda, band);
}

void TParameterRules::VAL_GIRIGetData()
{
    // A period byte of 255 means the engine is stopped.
    TOrvPacketData& speed = m_module.PacketNamed(QStringLiteral("VAL_GIRI"));
    if ((speed.RawValue() & 0xFF) >= 255) {
        speed.SetTransformationType(TOrvSerialData::ttNone);
        speed.InitData(0);
    } else {
        speed.SetTransformationType(TOrvSerialData::ttFormula);
    }
}
