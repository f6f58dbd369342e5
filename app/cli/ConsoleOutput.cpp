#include "app/cli/ConsoleOutput.h"

#include <QIODevice>

void TConsoleOutput::WriteLine(const QString& text)
{
    EndProgress();
    Write(text + u'\n');
}

void TConsoleOutput::WritePrompt(const QString& text)
{
    EndProgress();
    Write(text);
}

void TConsoleOutput::WriteProgress(const QString& text)
{
    // Erase to the end of the line: the new text may be shorter.
    Write(u'\r' + text + QStringLiteral("\x1b[K"));
    m_inProgress = true;
}

void TConsoleOutput::EndProgress()
{
    if (!m_inProgress)
        return;
    m_inProgress = false;
    Write(QStringLiteral("\n"));
}

void TConsoleOutput::Write(const QString& text)
{
    m_device.write(text.toUtf8());
}
