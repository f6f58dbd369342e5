#pragma once

// Tells real focus changes from the window losing and regaining activation or a
// pop-up opening: a control counts as entered from the moment it gets the focus
// until the focus moves to another control of its window, so switching to
// another application or opening a control's own list is neither an exit nor a
// new entry.

#include <Qt>

class TFocusPresence {
public:
    // Whether this focus-in is an entry into the control.
    bool Enter()
    {
        if (m_inside)
            return false;
        m_inside = true;
        return true;
    }

    // Whether this focus-out, for the given reason, is an exit from the control.
    bool Leave(Qt::FocusReason reason)
    {
        if (!m_inside || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        m_inside = false;
        return true;
    }

private:
    bool m_inside = false;
};
