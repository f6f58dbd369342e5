#pragma once

// TFocusLinks holds the two neighbours a control passes the focus to: the next
// control (Return, Down) and the previous one (Up). The controls that take part
// in a window's focus chain derive from it, and the window's binding sets the
// links through it (ControlBinding). The links are weak: a neighbour that is
// destroyed leaves an empty link.

#include <QPointer>
#include <QWidget>

class TFocusLinks {
public:
    QWidget* NextControl() const { return m_nextControl; }
    void SetNextControl(QWidget* control) { m_nextControl = control; }
    QWidget* PrevControl() const { return m_prevControl; }
    void SetPrevControl(QWidget* control) { m_prevControl = control; }

protected:
    TFocusLinks() = default;
    ~TFocusLinks() = default;

private:
    QPointer<QWidget> m_nextControl;
    QPointer<QWidget> m_prevControl;
};
