#pragma once

// TResizer lets the user move and resize one control with the mouse while the
// program runs, snapping to a grid: dragging inside the control moves it,
// dragging near an edge or corner resizes it. It sits in front of the control
// as an event filter. It starts locked, and while locked it is fully
// transparent: every event reaches the control untouched. Unlocked, it keeps
// the left-button and pointer-move events from the control; a double-click
// locks it again (FixDblClick).

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QMouseEvent;

class TResizer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int ResizingBorder READ ResizingBorder WRITE SetResizingBorder)
    Q_PROPERTY(TResizingMode ResizingMode READ ResizingMode WRITE SetResizingMode)
    Q_PROPERTY(int GridDimension READ GridDimension WRITE SetGridDimension)
    Q_PROPERTY(bool FixDblClick READ FixDblClick WRITE SetFixDblClick)
    Q_PROPERTY(bool LockControl READ LockControl WRITE SetLockControl)

public:
    enum TResizingKind { raVertical = 0x1, raHorizontal = 0x2, raCorner = 0x4, raMove = 0x8 };
    Q_DECLARE_FLAGS(TResizingMode, TResizingKind)
    Q_FLAG(TResizingMode)

    // What a drag does.
    enum TDragKind {
        dkNone,
        dkTop,
        dkBottom,
        dkLeft,
        dkRight,
        dkTopLeft,
        dkBottomLeft,
        dkBottomRight,
        dkTopRight,
        dkMove
    };
    Q_ENUM(TDragKind)

    // Raised before a move is applied; the handler may change the position.
    using TMoveEvent = std::function<void(QObject* Sender, int& left, int& top)>;
    // Raised before a resize is applied, with the pointer's raw movement.
    using TResizeEvent = std::function<void(QObject* Sender, int dx, int dy)>;

    // The resizer belongs to owner (usually the control itself) and moves control.
    TResizer(QObject* owner, QWidget* control);
    ~TResizer() override;

    int ResizingBorder() const { return m_border; }
    void SetResizingBorder(int border);
    TResizingMode ResizingMode() const { return m_mode; }
    void SetResizingMode(TResizingMode mode) { m_mode = mode; }
    int GridDimension() const { return m_grid; }
    void SetGridDimension(int grid) { m_grid = qMax(1, grid); }
    bool FixDblClick() const { return m_fixDblClick; }
    void SetFixDblClick(bool on) { m_fixDblClick = on; }
    bool LockControl() const { return m_locked; }
    // Ends any drag, locks or unlocks, and gives the control its default cursor.
    void SetLockControl(bool locked);

    QWidget* Control() const { return m_control; }
    TDragKind DragKind() const { return m_kind; }
    bool Dragging() const { return m_dragging; }

    TMoveEvent OnMove;
    TResizeEvent OnResize;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual void DoMove(int left, int top);
    virtual void DoResize(int dx, bool moveLeft, int dy, bool moveTop);

    // Puts the resizer in front of the control's events, or takes it away.
    void Attach(QWidget* control);
    void Detach();

private:
    bool MouseMove(const QMouseEvent& event);
    bool ButtonDown(const QMouseEvent& event);
    bool ButtonUp();
    void Hover(QPoint pos);
    void Drag(QPoint pos);
    int Snap(int distance) const { return m_grid * (distance / m_grid); }
    void EndDrag();
    void ControlDestroyed();

    QPointer<QWidget> m_control;
    QMetaObject::Connection m_destroyedConnection;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_dragging = false;
    TDragKind m_kind = dkNone;
    int m_border = 8;
    TResizingMode m_mode = TResizingMode(raHorizontal | raMove);
    bool m_locked = true;
    int m_grid = 10;
    bool m_fixDblClick = true;
    bool m_trackingBefore = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TResizer::TResizingMode)
