#pragma once

// TOrvLabeledEdit is an older numeric field (see TNumberEditBase) with a caption
// label above it and move/resize handling of its own: unlike the resizer it
// works on the control itself, sends no messages, snaps only moves (to 10
// pixels) and enforces no minimum size. It starts unlocked. Its limits always
// apply, a thousands separator and (with no step) the decimal separator are
// swallowed, and it moves the focus in tab order.

#include "controls/ChildLabel.h"
#include "controls/NumberEditBase.h"
#include "controls/Resizer.h"

#include <QPointer>

class TOrvLabeledEdit : public TNumberEditBase {
    Q_OBJECT
    Q_PROPERTY(TChildLabel* EditLabel READ EditLabel)
    Q_PROPERTY(int ResizingBorder READ ResizingBorder WRITE SetResizingDistance)
    Q_PROPERTY(TResizer::TResizingMode ResizingMode READ ResizingMode WRITE SetResizingMode)
    Q_PROPERTY(bool LockControl READ LockControl WRITE SetLockControl)

public:
    explicit TOrvLabeledEdit(QWidget* parent = nullptr);
    ~TOrvLabeledEdit() override;

    TChildLabel* EditLabel() const { return m_label; }
    int ResizingBorder() const { return m_border; }
    // A negative border, or one not smaller than the control's smaller side, is refused.
    void SetResizingDistance(int border);
    TResizer::TResizingMode ResizingMode() const { return m_mode; }
    void SetResizingMode(TResizer::TResizingMode mode) { m_mode = mode; }
    bool LockControl() const { return m_locked; }
    // Ends any drag, locks or unlocks, and restores the default cursor.
    void SetLockControl(bool locked);

    void FocusNextControl() { focusNextPrevChild(true); }
    void FocusPrevControl() { focusNextPrevChild(false); }

protected:
    bool ThousandsSeparatorTypesDecimal() const override { return false; }
    bool DecimalWithoutStep() const override { return false; }
    void MoveFocusOn(bool next, bool confirming) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Hover(QPoint pos);
    void Drag(QPoint pos);
    void EndDrag();

    QPointer<TChildLabel> m_label;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_dragging = false;
    TResizer::TDragKind m_kind = TResizer::dkNone;
    int m_border = 8;
    TResizer::TResizingMode m_mode = TResizer::TResizingMode(TResizer::raHorizontal | TResizer::raMove);
    bool m_locked = false;
};
