#pragma once

// The configurator's knowledge of the unit's memory map: every configuration
// parameter and live value with its address, mask, conversion, limits, default
// and configuration-file key, as one declarative table.

#include <QList>
#include <QString>
#include <initializer_list>

class QObject;
class TOrvNumber;
class TOrvPacketData;

namespace Catalogue {

enum class ConversionKind { Identity, Formula, Table, Temperature, SignMagnitude, InvertedBit4 };

struct Conversion {
    ConversionKind kind = ConversionKind::Identity;
    double a = 1, b = 0, c = 0, d = 1;
    // Unit-side values then user-side values, as the stored form keeps them.
    QList<double> table;
};

struct Limits {
    double min = 0;
    double max = 0;
};

// A configuration parameter: one byte of the unit's memory (or some bits of it).
struct NumberRow {
    int number;       // position in the catalogue, 1-77
    const char* name; // component name
    int address;      // byte address; -1 for the command datum reached by code 0
    int mask;
    Conversion conversion;
    const char* unit;
    double step;   // Precision; 0 = none
    Limits limits; // both 0 = no limits
    double defaultValue;
    const char* fileKey;
    const char* fileSection;
};

// A live value: one byte of the live packet (code 0).
struct PacketRow {
    int number;
    const char* name;
    int offset;
    Conversion conversion;
    double step;
};

const QList<NumberRow>& Numbers();
// The row of the configuration parameter with that component name, or null.
const NumberRow* FindNumber(const QString& name);
const QList<PacketRow>& Packets();

// The items whose limits the stored form switches off, and the engine-speed
// items, which load in the second pass of a configuration file.
bool LimitsDisabledInForm(int number);
int DataGroupOf(int number);

// The 48-point temperature table: resistance ratio → °C.
const QList<double>& TemperatureTable();

// Applies a row's properties to a new item (not yet given its default).
void Apply(const NumberRow& row, TOrvNumber& item);
void Apply(const PacketRow& row, TOrvPacketData& item);

} // namespace Catalogue
