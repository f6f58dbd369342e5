#include "roadtest/RoadTestSettings.h"

#include "items/OrvNumber.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const char* const ItemNames[TRoadTestSettings::Count] = {
    "TEMPERATURA_PER_CAMBIO",     "TPS_PER_AFFONDATA",        "MINIMA_APERTURA_ATTUATORE",
    "MASSIMA_APERTURA_ATTUATORE", "POSIZIONE_DEFAULT",        "MinimaAperturaAlMinimo",
    "MassimaAperturaAlMinimo",    "MinimaAperturaInCrociera", "MassimaAperturaInCrociera",
};

TRoadTestParameter ParameterOf(TOrvNumber& item, double value)
{
    TRoadTestParameter parameter;
    parameter.value = value;
    parameter.step = item.Precision();
    parameter.min = item.ValueMin();
    parameter.max = item.ValueMax();
    parameter.known = true;
    return parameter;
}

} // namespace

double TRoadTestParameter::Snapped(double wanted) const
{
    double snapped = step > 0 ? std::round(wanted / step) * step : wanted;
    if (min < max)
        snapped = std::clamp(snapped, min, max);
    return snapped;
}

QString TRoadTestSettings::ItemName(Index index)
{
    return QString::fromLatin1(ItemNames[index]);
}

void TRoadTestSettings::Set(Index index, const TRoadTestParameter& parameter)
{
    m_parameters[size_t(index)] = parameter;
}

void TRoadTestSettings::SetValue(Index index, double value)
{
    m_parameters[size_t(index)].value = value;
    m_parameters[size_t(index)].known = true;
}

bool TRoadTestSettings::Complete() const
{
    return Missing().isEmpty();
}

QStringList TRoadTestSettings::Missing() const
{
    QStringList missing;
    for (int index = 0; index < Count; ++index) {
        if (!m_parameters[size_t(index)].known)
            missing << ItemName(Index(index));
    }
    return missing;
}

TRoadTestSettings TRoadTestSettings::FromItems(const std::function<TOrvNumber*(const QString&)>& item)
{
    TRoadTestSettings settings;
    for (int index = 0; index < Count; ++index) {
        if (TOrvNumber* number = item(ItemName(Index(index))))
            settings.Set(Index(index), ParameterOf(*number, number->CurrentUserValue()));
    }
    return settings;
}

TRoadTestSettings TRoadTestSettings::FromFileEntries(const std::function<TOrvNumber*(const QString&)>& item,
                                                     const QHash<QString, double>& entries)
{
    TRoadTestSettings settings;
    for (int index = 0; index < Count; ++index) {
        TOrvNumber* number = item(ItemName(Index(index)));
        const QString key = number ? number->FileKey().toUpper() : QString();
        if (number && entries.contains(key))
            settings.Set(Index(index), ParameterOf(*number, entries.value(key)));
    }
    return settings;
}
