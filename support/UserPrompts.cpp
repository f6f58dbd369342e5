#include "support/UserPrompts.h"

TWaitWindow* CurrentWaitWindow = nullptr;

TWaitWindow::~TWaitWindow()
{
    if (CurrentWaitWindow == this)
        CurrentWaitWindow = nullptr;
}

bool TUserPrompts::AskGoOnWithoutBackup(const QString& caption, const QString& text)
{
    return AskYesNo(TMessageIcon::Error, caption, text, false);
}
