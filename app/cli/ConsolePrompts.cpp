#include "app/cli/ConsolePrompts.h"

#include "app/cli/ConsoleOutput.h"
#include "app/cli/ConsoleWaitWindow.h"

#include <QIODevice>
#include <QThread>

namespace {

// "caption: text", leaving out an empty part.
QString Captioned(const QString& caption, const QString& text)
{
    if (caption.isEmpty())
        return text;
    return text.isEmpty() ? caption : caption + QStringLiteral(": ") + text;
}

} // namespace

TConsolePrompts::TConsolePrompts(TConsoleOutput& output, QIODevice* answers, const TConsoleAnswers& given,
                                 bool showProgress)
    : m_output(output), m_answers(answers), m_given(given), m_showProgress(showProgress)
{
}

void TConsolePrompts::ShowMessage(TMessageIcon, const QString& caption, const QString& text)
{
    m_messages << text;
    const QString line = Captioned(caption, text);
    if (!line.isEmpty())
        m_output.WriteLine(line);
}

bool TConsolePrompts::AskYesNo(TMessageIcon, const QString& caption, const QString& text, bool defaultYes)
{
    m_output.WritePrompt(Captioned(caption, text) +
                         (defaultYes ? QStringLiteral(" [Y/n] ") : QStringLiteral(" [y/N] ")));
    if (m_given.yes) {
        m_output.WriteLine(QStringLiteral("yes"));
        return true;
    }
    if (!m_answers) {
        m_output.WriteLine(m_given.yesOffered ? QStringLiteral("no (no terminal to ask; --yes answers yes)")
                                              : QStringLiteral("no (no terminal to ask)"));
        return false;
    }
    return ReadAnswer(defaultYes);
}

bool TConsolePrompts::AskGoOnWithoutBackup(const QString& caption, const QString& text)
{
    m_output.WritePrompt(Captioned(caption, text) + QStringLiteral(" [y/N] "));
    m_output.WriteLine(m_given.noBackup ? QStringLiteral("yes (--no-backup)")
                                        : QStringLiteral("no (--no-backup goes on without a backup)"));
    return m_given.noBackup;
}

bool TConsolePrompts::ReadAnswer(bool defaultYes)
{
    const QByteArray line = m_answers->readLine();
    if (line.isEmpty()) { // end of input
        m_output.WriteLine(QStringLiteral("no"));
        return false;
    }
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    if (answer.isEmpty())
        return defaultYes;
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

void TConsolePrompts::Wait(int milliseconds)
{
    QThread::msleep(qMax(0, milliseconds));
}

std::unique_ptr<TWaitWindow> TConsolePrompts::CreateWaitWindow()
{
    return std::make_unique<TConsoleWaitWindow>(m_output, m_showProgress);
}
