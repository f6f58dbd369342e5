#pragma once

// The windows' side of the user seam: message boxes owned by the active window,
// the busy cursor, the wait window, and the boot-loader check box of the
// configuration window.

#include "support/UserPrompts.h"

#include <functional>

class TTranslator;

class TGuiPrompts : public TUserPrompts {
public:
    // translator gives the wait window's percentage word
    // (TextIndex::PercentCompleted); upgradeChecked reads the boot-loader
    // page's check box.
    TGuiPrompts(TTranslator* translator, std::function<bool()> upgradeChecked);
    ~TGuiPrompts() override;

    void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) override;
    bool AskYesNo(TMessageIcon icon, const QString& caption, const QString& text, bool defaultYes) override;
    void Wait(int milliseconds) override;
    void SetBusyCursor(bool busy) override;
    std::unique_ptr<TWaitWindow> CreateWaitWindow() override;
    bool UpgradeBootLoaderChecked() override;

private:
    TTranslator* m_translator;
    std::function<bool()> m_upgradeChecked;
    bool m_busy = false;
};
