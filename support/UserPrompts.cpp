#include "support/UserPrompts.h"

TWaitWindow* CurrentWaitWindow = nullptr;

TWaitWindow::~TWaitWindow()
{
    if (CurrentWaitWindow == this)
        CurrentWaitWindow = nullptr;
}
