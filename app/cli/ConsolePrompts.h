#pragma once

// The user seam of the command-line tool. Messages go to standard error with
// their caption. Questions are answered yes when the command was given --yes;
// otherwise the answer is read from the terminal when there is one (answers is
// then given), and is no when there is none. Waits really wait, and wait windows
// write to standard error (TConsoleWaitWindow).

#include "support/UserPrompts.h"

#include <QStringList>

class QIODevice;
class TConsoleOutput;

class TConsolePrompts : public TUserPrompts {
public:
    TConsolePrompts(TConsoleOutput& output, QIODevice* answers, bool assumeYes, bool showProgress);

    void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) override;
    bool AskYesNo(TMessageIcon icon, const QString& caption, const QString& text, bool defaultYes) override;
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
    const bool m_assumeYes;
    const bool m_showProgress;
    QStringList m_messages;
};
