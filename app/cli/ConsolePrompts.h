#pragma once

// The user seam of the command-line tool. Messages go to standard error with
// their caption. Questions are answered yes when the command was given --yes;
// otherwise the answer is read from the terminal when there is one (answers is
// then given), and is no when there is none. Going on without a backup is no
// question for --yes or the terminal: only --no-backup answers it yes. Waits
// really wait, and wait windows write to standard error (TConsoleWaitWindow).

#include "support/UserPrompts.h"

#include <QStringList>

class QIODevice;
class TConsoleOutput;

// What the command line says to the questions.
struct TConsoleAnswers {
    bool yes = false;        // --yes was given: every question is answered yes
    bool yesOffered = false; // the command takes --yes, so a hint may name it
    bool noBackup = false;   // --no-backup was given: go on when no backup can be made
};

class TConsolePrompts : public TUserPrompts {
public:
    TConsolePrompts(TConsoleOutput& output, QIODevice* answers, const TConsoleAnswers& given,
                    bool showProgress);

    void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) override;
    bool AskYesNo(TMessageIcon icon, const QString& caption, const QString& text, bool defaultYes) override;
    bool AskGoOnWithoutBackup(const QString& caption, const QString& text) override;
    void Wait(int milliseconds) override;
    void SetBusyCursor(bool) override {}
    std::unique_ptr<TWaitWindow> CreateWaitWindow() override;
    // The boot-loader update is always part of a reprogramming.
    bool UpgradeBootLoaderChecked() override { return true; }

    // The text of every message shown so far, in order.
    const QStringList& MessageTexts() const { return m_messages; }

private:
    bool ReadAnswer(bool defaultYes);

    TConsoleOutput& m_output;
    QIODevice* m_answers;
    const TConsoleAnswers m_given;
    const bool m_showProgress;
    QStringList m_messages;
};
