#pragma once

// The comparison of two configurations, entry by entry, over the items a load
// writes: what differs, in engineering units and as the unit's raw value.

#include <QList>
#include <QString>
#include <optional>

class TCustomIniFile;
class TOrvNumber;

struct TConfigDifference {
    QString item; // component name
    QString key;  // configuration-file key
    QString left; // value with its unit; empty when the entry is missing
    QString right;
    int leftRaw = -1; // the unit's raw value for it; -1 when missing or not expressible
    int rightRaw = -1;
    std::optional<double> leftValue; // the value in engineering units; none when missing
    std::optional<double> rightValue;
};

// The items whose entries differ between left and right, in the items' order.
// An entry present on one side only differs; an entry that is no number counts
// as missing. The raw values are converted with the items' present scales.
QList<TConfigDifference> CompareConfigurations(const QList<TOrvNumber*>& items, TCustomIniFile& left,
                                               TCustomIniFile& right);

// Whether two values read from configuration entries are the same value.
bool SameFileValue(double a, double b);

// The order of configurations by closeness to another: fewer differences first,
// those that could not be compared (differences below 0) last.
inline bool CloserConfiguration(int differences, int otherDifferences)
{
    return unsigned(differences) < unsigned(otherDifferences);
}
