#pragma once

// A wait window on the console: once shown it writes its caption and message as
// a line, again whenever either changes, and, when progress is on (standard
// error is a terminal), keeps a progress line with the percentage.

#include "support/UserPrompts.h"

class TConsoleOutput;

class TConsoleWaitWindow : public TWaitWindow {
public:
    TConsoleWaitWindow(TConsoleOutput& output, bool showProgress);
    ~TConsoleWaitWindow() override;

    void SetCaption(const QString& caption) override;
    QString Caption() const override { return m_caption; }
    void SetMessage(const QString& message) override;
    void SetWaitProgress(int percent, bool absolute) override;
    int Progress() const override { return m_progress; }
    void ShowAndRepaint() override;
    bool IsShown() const override { return m_shown; }
    void PlaceAtTop(int) override {}

private:
    void WriteHeading();
    void WriteProgress();

    TConsoleOutput& m_output;
    const bool m_showProgress;
    QString m_caption;
    QString m_message;
    int m_progress = 0;
    bool m_shown = false;
    int m_drawnPercent = -1; // the percentage the progress line shows; -1 none
};
