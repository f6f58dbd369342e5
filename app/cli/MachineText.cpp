#include "app/cli/MachineText.h"

#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "support/NumberText.h"

#include <QLocale>
#include <QStringList>

namespace MachineText {

QString Number(double value)
{
    return GeneralNumberText(value, QLocale::c());
}

QString Value(TOrvSerialData* item)
{
    const QString number = Number(item->CurrentUserValue());
    return item->MeasureUnit().isEmpty() ? number : number + u' ' + item->MeasureUnit();
}

QString CsvLine(const QList<TOrvPacketData*>& items)
{
    QStringList values;
    for (TOrvPacketData* item : items)
        values << Number(item->GetDouble());
    return values.join(u',');
}

int RawValue(const TOrvSerialData* item)
{
    if (const auto* number = qobject_cast<const TOrvNumber*>(item))
        return number->RawValue();
    if (const auto* packet = qobject_cast<const TOrvPacketData*>(item))
        return packet->RawValue();
    return 0;
}

} // namespace MachineText
