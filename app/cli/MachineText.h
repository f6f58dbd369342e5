#pragma once

// The command line's values as scripts read them: numbers with a point as
// decimal separator whatever the locale, values with their unit, raw bytes.

#include <QList>
#include <QString>

class TOrvPacketData;
class TOrvSerialData;

namespace MachineText {

QString Number(double value);
// The item's value in engineering units, followed by its unit when it has one.
QString Value(TOrvSerialData* item);
// The values of the items, separated by commas.
QString CsvLine(const QList<TOrvPacketData*>& items);
// The byte (or bytes) the unit holds for the item.
int RawValue(const TOrvSerialData* item);

} // namespace MachineText
