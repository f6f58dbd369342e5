#include "app/cli/ConsoleWaitWindow.h"

#include "app/cli/ConsoleOutput.h"

#include <QStringList>

namespace {

constexpr int BarWidth = 30;

} // namespace

TConsoleWaitWindow::TConsoleWaitWindow(TConsoleOutput& output, bool showProgress)
    : m_output(output), m_showProgress(showProgress)
{
}

TConsoleWaitWindow::~TConsoleWaitWindow()
{
    m_output.EndProgress();
}

void TConsoleWaitWindow::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    if (m_shown)
        WriteHeading();
}

void TConsoleWaitWindow::SetMessage(const QString& message)
{
    if (message == m_message)
        return;
    m_message = message;
    if (m_shown)
        WriteHeading();
}

void TConsoleWaitWindow::SetWaitProgress(int percent, bool absolute)
{
    m_progress = absolute ? percent : m_progress + percent;
    if (m_shown)
        WriteProgress();
}

void TConsoleWaitWindow::ShowAndRepaint()
{
    if (!m_shown) {
        m_shown = true;
        WriteHeading();
    }
    WriteProgress();
}

void TConsoleWaitWindow::WriteHeading()
{
    QStringList parts = {m_caption, m_message};
    parts.removeAll(QString());
    if (!parts.isEmpty())
        m_output.WriteLine(parts.join(QStringLiteral(": ")));
    m_drawnPercent = -1;
}

void TConsoleWaitWindow::WriteProgress()
{
    if (!m_showProgress)
        return;
    const int percent = qBound(0, m_progress, 100);
    if (percent == m_drawnPercent)
        return;
    m_drawnPercent = percent;
    const int filled = percent * BarWidth / 100;
    m_output.WriteProgress(QStringLiteral("[%1%2] %3%")
                               .arg(QString(filled, u'#'), QString(BarWidth - filled, u'.'))
                               .arg(percent, 3));
}
