#pragma once

// What the main window needs of the vehicle configuration window.

class QMenu;
class QString;
class QWidget;
class TUndoRecorder;

class TConfigurationWindow {
public:
    virtual ~TConfigurationWindow() = default;

    // The window itself, to deliver window messages to it.
    virtual QWidget* Widget() = 0;
    // Shows the window modally; returns when it closes.
    virtual void ShowModal() = 0;
    // Sets every text of the window from the translator, then selects the
    // switch-type entry again.
    virtual void RefreshInterfaceText() = 0;
    // Status panel 0: the connected / not-connected text.
    virtual void SetLinkText(const QString& text) = 0;
    // The pop-up menu: connect, disconnect and one entry per language.
    virtual QMenu* PopupMenuConfig() = 0;
    // The boot-loader page's check box.
    virtual bool UpgradeBootLoaderChecked() const = 0;
    // The history of the user's changes to the unit, which changes made from
    // other windows join.
    virtual TUndoRecorder* UndoRecorder() const = 0;
};
