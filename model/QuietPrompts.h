#pragma once

// A TUserPrompts for use without a user: messages go nowhere, every question is
// answered "no", waits really wait, and wait windows exist only in memory.

#include "support/UserPrompts.h"

class TQuietWaitWindow : public TWaitWindow {
public:
    void SetCaption(const QString& caption) override { m_caption = caption; }
    QString Caption() const override { return m_caption; }
    void SetMessage(const QString&) override {}
    void SetWaitProgress(int percent, bool absolute) override;
    int Progress() const override { return m_progress; }
    void ShowAndRepaint() override { m_shown = true; }
    bool IsShown() const override { return m_shown; }
    void PlaceAtTop(int) override {}

private:
    QString m_caption;
    int m_progress = 0;
    bool m_shown = false;
};

class TQuietPrompts : public TUserPrompts {
public:
    void ShowMessage(TMessageIcon, const QString&, const QString&) override {}
    bool AskYesNo(TMessageIcon, const QString&, const QString&, bool) override { return false; }
    void Wait(int milliseconds) override;
    void SetBusyCursor(bool) override {}
    std::unique_ptr<TWaitWindow> CreateWaitWindow() override { return std::make_unique<TQuietWaitWindow>(); }
    bool UpgradeBootLoaderChecked() override { return true; }
};
