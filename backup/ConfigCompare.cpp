#include "backup/ConfigCompare.h"

#include "items/OrvNumber.h"
#include "support/NumberText.h"

#include <QLocale>
#include <optional>

namespace {

std::optional<double> EntryValue(TOrvNumber& item, TCustomIniFile& store)
{
    double value = 0;
    if (!store.ValueExists(item.FileSection(), item.FileKey()) ||
        !IsFloatValue(store.ReadString(item.FileSection(), item.FileKey(), QString()), value))
        return std::nullopt;
    return value;
}

QString ValueText(TOrvNumber& item, const std::optional<double>& value)
{
    if (!value)
        return QString();
    const QString number = GeneralNumberText(*value, QLocale::c());
    return item.MeasureUnit().isEmpty() ? number : number + QLatin1Char(' ') + item.MeasureUnit();
}

int RawOf(TOrvNumber& item, const std::optional<double>& value)
{
    if (!value)
        return -1;
    if (!item.StoreUserValue())
        return int(*value);
    const bool saved = item.DisableLimits();
    item.SetDisableLimits(true);
    const int raw = item.ConvertValueToEcu(*value, nullptr);
    item.SetDisableLimits(saved);
    return ConversionError::IsError(raw) ? -1 : raw;
}

} // namespace

bool SameFileValue(double a, double b)
{
    return qAbs(a - b) <= 1e-9 * qMax(1.0, qAbs(b));
}

QList<TConfigDifference> CompareConfigurations(const QList<TOrvNumber*>& items, TCustomIniFile& left,
                                               TCustomIniFile& right)
{
    QList<TConfigDifference> differences;
    for (TOrvNumber* item : items) {
        const std::optional<double> a = EntryValue(*item, left);
        const std::optional<double> b = EntryValue(*item, right);
        if (!a && !b)
            continue;
        if (a && b && SameFileValue(*a, *b))
            continue;
        differences.append({item->objectName(), item->FileKey(), ValueText(*item, a), ValueText(*item, b),
                            RawOf(*item, a), RawOf(*item, b), a, b});
    }
    return differences;
}
