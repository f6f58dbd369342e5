#pragma once

// The configuration values the road-test check judges a log against, each with
// the step and limits of the parameter it comes from (so that a suggestion can
// propose a value the parameter takes). The caller fills them from the items
// of the data module (the unit's configuration) or from a configuration file
// (the file's values with the items' steps and limits).

#include <QHash>
#include <QString>
#include <array>
#include <functional>

class TOrvNumber;

struct TRoadTestParameter {
    double value = 0;
    double step = 1; // 0: any value
    double min = 0;  // the parameter's limits; min == max: none
    double max = 0;
    bool known = false;

    // value snapped to the step and held within the limits.
    double Snapped(double value) const;
};

class TRoadTestSettings {
public:
    enum Index {
        ChangeoverTemperature, // TEMPERATURA_PER_CAMBIO, °C: warm from here on
        FullThrottleTps,       // TPS_PER_AFFONDATA, V: full throttle from here on
        ActuatorMin,           // MINIMA_APERTURA_ATTUATORE, steps
        ActuatorMax,           // MASSIMA_APERTURA_ATTUATORE, steps
        DefaultPosition,       // POSIZIONE_DEFAULT, steps
        IdleBelow,             // MinimaAperturaAlMinimo: steps below the default allowed at idle
        IdleAbove,             // MassimaAperturaAlMinimo: steps above the default allowed at idle
        CruiseBelow,           // MinimaAperturaInCrociera: steps below the default allowed off idle
        CruiseAbove,           // MassimaAperturaInCrociera: steps above the default allowed off idle
        Count
    };

    // The component name of the item each value comes from.
    static QString ItemName(Index index);

    const TRoadTestParameter& Parameter(Index index) const { return m_parameters[size_t(index)]; }
    double Value(Index index) const { return Parameter(index).value; }
    void Set(Index index, const TRoadTestParameter& parameter);
    void SetValue(Index index, double value);
    // Whether every value is known.
    bool Complete() const;
    // The names of the items whose values are not known.
    QStringList Missing() const;

    // Every value from the items (their current values), found by component name.
    static TRoadTestSettings FromItems(const std::function<TOrvNumber*(const QString&)>& item);
    // The values of a configuration file's entries (by file key, as
    // ConfigurationEntries reads them), with the steps and limits of the items.
    static TRoadTestSettings FromFileEntries(const std::function<TOrvNumber*(const QString&)>& item,
                                             const QHash<QString, double>& entries);

private:
    std::array<TRoadTestParameter, Count> m_parameters{};
};
