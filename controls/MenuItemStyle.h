#pragma once

// TMenuItemStyle gives a menu's entries room for their whole text beside the
// shortcut. The toolkit's style sizes an entry for its text and shortcut, then
// draws the text in a space narrower by its own margins, so with the large
// fonts of a scaled window ("Copie di sicurezza   Ctrl+B" at 1920 pixels) the
// text is cut short with "…". The entries are widened by the width of two
// letters of their font, which covers those margins at every size.

#include <QProxyStyle>

class QMenu;
class QMenuBar;

class TMenuItemStyle : public QProxyStyle {
    Q_OBJECT

public:
    explicit TMenuItemStyle(QObject* parent);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

    // Gives every menu of the bar, submenus too, one style of this kind owned
    // by owner, which must outlive the menus (a window whose menus were all
    // made before the call: its children go in the order they came). Menus
    // added later are not covered.
    static void Apply(QMenuBar* bar, QObject* owner);

private:
    void ApplyTo(QMenu* menu);
};
