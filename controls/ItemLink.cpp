#include "controls/ItemLink.h"

#include "link/WindowMessage.h"

bool ReadItemAgain(TOrvNumber& item, double* value)
{
    item.BackupData();
    const bool read = item.Load();
    if (!read)
        item.RestoreBackup();
    *value = item.ConvertValueToUser(item.RawValue());
    return read;
}

bool TakeItemMessage(TOrvNumber* item, const TWindowMessage& message)
{
    if (!item)
        return false;
    switch (message.message()) {
    case WindowMessage::WMDataAvailable:
        if (message.wParam())
            item->InitData(reinterpret_cast<const int*>(message.wParam()));
        return true;
    case WindowMessage::WMDataChanged:
        return true;
    default:
        return false;
    }
}
