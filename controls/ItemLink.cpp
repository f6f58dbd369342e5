#include "controls/ItemLink.h"

bool ReadItemAgain(TOrvNumber& item, double* value)
{
    item.BackupData();
    const bool read = item.Load();
    if (!read)
        item.RestoreBackup();
    *value = item.ConvertValueToUser(item.RawValue());
    return read;
}

void TakeLiveValue(TOrvNumber& item, uintptr_t wParam)
{
    if (wParam)
        item.InitData(reinterpret_cast<const int*>(wParam));
}
