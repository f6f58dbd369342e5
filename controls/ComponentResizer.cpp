#include "controls/ComponentResizer.h"

TComponentResizer::TComponentResizer(QObject* owner) : TResizer(owner, nullptr) {}

void TComponentResizer::SetComponent(QWidget* control)
{
    if (control == Control())
        return;
    const bool locked = LockControl();
    SetLockControl(true);
    Detach();
    if (!control)
        return;
    Attach(control);
    SetLockControl(locked);
}
