#pragma once

// The seam through which the data path talks to the person using the program.
//
// Operations that run on the user-interface thread show message boxes, ask
// yes/no questions, show a wait window with progress, change the cursor and
// wait fixed times. They never do so directly: they go through a TUserPrompts.
// The windows implement it with real dialogs, the command-line tool with console
// output, and the tests with a recording fake that answers from a script and
// never sleeps.

#include <QString>
#include <cstdint>
#include <memory>

enum class TMessageIcon {
    None,  // a plain message, no icon
    Error, // the error (stop) icon
};

// A wait window as long operations see it: caption, message line and progress.
// At most one exists at a time; the operation that creates it destroys it.
class TWaitWindow {
public:
    // A window that is CurrentWaitWindow clears that reference when destroyed.
    virtual ~TWaitWindow();

    virtual void SetCaption(const QString& caption) = 0;
    virtual QString Caption() const = 0;
    virtual void SetMessage(const QString& message) = 0;
    // percent 0..100; absolute sets the bar, otherwise percent is added to it.
    virtual void SetWaitProgress(int percent, bool absolute) = 0;
    virtual int Progress() const = 0;
    // Shows the window (when hidden) and paints it at once.
    virtual void ShowAndRepaint() = 0;
    virtual bool IsShown() const = 0;
    // Places the window at the given top, centred horizontally on the screen.
    virtual void PlaceAtTop(int top) = 0;
    // A progress message from the link library while the window is shown:
    // wParam the percentage, lParam non-zero to add it to the bar, zero to set it.
    virtual void ProgressMessage(uintptr_t wParam, intptr_t lParam)
    {
        SetWaitProgress(int(wParam), lParam == 0);
    }
};

// The wait window being shown by a long operation, or null.
extern TWaitWindow* CurrentWaitWindow;

class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;

    virtual void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) = 0;
    // True when the answer is yes. defaultYes selects the button taken by Return.
    virtual bool AskYesNo(TMessageIcon icon, const QString& caption, const QString& text,
                          bool defaultYes) = 0;
    // Whether a risky operation goes on although the unit could not be backed up.
    // A question of its own, apart from the operation's confirmation: the windows
    // ask it with no as the default, the command-line tool answers it from an
    // option of its own, never from the one that confirms operations.
    virtual bool AskGoOnWithoutBackup(const QString& caption, const QString& text);
    // Waits the given time; the windows keep painting, the tests do not sleep.
    virtual void Wait(int milliseconds) = 0;
    // The application-starting (busy) cursor while true, the default one when false.
    virtual void SetBusyCursor(bool busy) = 0;
    // A new wait window, created hidden.
    virtual std::unique_ptr<TWaitWindow> CreateWaitWindow() = 0;
    // Whether the boot-loader page's "update the boot loader first" box is checked.
    virtual bool UpgradeBootLoaderChecked() = 0;
};
