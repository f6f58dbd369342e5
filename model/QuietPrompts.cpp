#include "model/QuietPrompts.h"

#include <QThread>

void TQuietWaitWindow::SetWaitProgress(int percent, bool absolute)
{
    m_progress = absolute ? percent : m_progress + percent;
}

void TQuietPrompts::Wait(int milliseconds)
{
    QThread::msleep(qMax(0, milliseconds));
}
