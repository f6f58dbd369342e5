#include "controls/Resizer.h"

#include "link/WindowMessage.h"

#include <QCoreApplication>
#include <QMouseEvent>

TResizer::TResizer(QObject* owner, QWidget* control) : QObject(owner)
{
    setObjectName(QStringLiteral("Resizer"));
    if (control)
        Attach(control);
}

TResizer::~TResizer()
{
    Detach();
}

void TResizer::Attach(QWidget* control)
{
    m_control = control;
    m_destroyedConnection = connect(control, &QObject::destroyed, this, &TResizer::ControlDestroyed);
    control->installEventFilter(this);
    m_trackingBefore = control->hasMouseTracking();
    if (!m_locked)
        control->setMouseTracking(true);
    m_lastX = control->x();
    m_lastY = control->y();
}

void TResizer::Detach()
{
    if (!m_control)
        return;
    disconnect(m_destroyedConnection);
    m_control->removeEventFilter(this);
    m_control->setMouseTracking(m_trackingBefore);
    m_control = nullptr;
}

void TResizer::ControlDestroyed()
{
    m_control = nullptr;
    EndDrag();
    m_locked = true;
}

void TResizer::SetResizingBorder(int border)
{
    if (border < 0)
        return;
    if (!m_control || border < qMin(m_control->width(), m_control->height()))
        m_border = border;
}

void TResizer::EndDrag()
{
    m_dragging = false;
    m_kind = dkNone;
}

void TResizer::SetLockControl(bool locked)
{
    EndDrag();
    m_locked = locked;
    if (!m_control)
        return;
    m_control->setMouseTracking(locked ? m_trackingBefore : true);
    m_control->unsetCursor();
}

bool TResizer::eventFilter(QObject* watched, QEvent* event)
{
    if (m_locked || watched != m_control)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        return MouseMove(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonPress:
        return ButtonDown(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease:
        return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton && ButtonUp();
    case QEvent::MouseButtonDblClick:
        if (static_cast<const QMouseEvent*>(event)->button() != Qt::LeftButton || !m_fixDblClick)
            return false;
        SetLockControl(true);
        return true;
    default:
        return false;
    }
}

bool TResizer::MouseMove(const QMouseEvent& event)
{
    const QPoint pos = event.position().toPoint();
    if (m_dragging)
        Drag(pos);
    else
        Hover(pos);
    return true;
}

bool TResizer::ButtonDown(const QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return false;
    const QPoint pos = event.position().toPoint();
    Hover(pos); // a press can arrive without a move before it
    if (!m_mode)
        return true;
    m_lastX = pos.x();
    m_lastY = pos.y();
    m_dragging = true;
    if (m_kind != dkNone) {
        TWindowMessage start(WindowMessage::WMStartResizing, uintptr_t(m_kind),
                             intptr_t((uint32_t(pos.y() & 0xFFFF) << 16) | uint32_t(pos.x() & 0xFFFF)));
        QCoreApplication::sendEvent(m_control, &start);
    }
    return true;
}

bool TResizer::ButtonUp()
{
    TWindowMessage end(WindowMessage::WMEndResizing, 0, 0);
    QCoreApplication::sendEvent(m_control, &end);
    EndDrag();
    if (m_control)
        m_control->unsetCursor();
    return true;
}

void TResizer::Hover(QPoint pos)
{
    const int x = pos.x();
    const int y = pos.y();
    const int b = m_border;
    const int w = m_control->width();
    const int h = m_control->height();
    const bool corner = m_mode.testFlag(raCorner);
    const bool move = m_mode.testFlag(raMove);
    const bool horizontal = m_mode.testFlag(raHorizontal);
    const bool vertical = m_mode.testFlag(raVertical);

    struct Zone {
        bool applies;
        Qt::CursorShape cursor;
        TDragKind kind;
    };
    // The first zone that applies wins; handles that move the left or top edge
    // need raMove as well.
    const Zone zones[] = {
        {x < b && y < b && corner && move, Qt::SizeFDiagCursor, dkTopLeft},
        {x > w - b && y > h - b && corner, Qt::SizeFDiagCursor, dkBottomRight},
        {x < b && y > h - b && corner && move, Qt::SizeBDiagCursor, dkBottomLeft},
        {x > w - b && y < b && corner && move, Qt::SizeBDiagCursor, dkTopRight},
        {x < b && horizontal && move, Qt::SizeHorCursor, dkLeft},
        {x > w - b && horizontal, Qt::SizeHorCursor, dkRight},
        {y < b && vertical && move, Qt::SizeVerCursor, dkTop},
        {y > h - b && vertical, Qt::SizeVerCursor, dkBottom},
        {move, Qt::SizeAllCursor, dkMove},
    };
    for (const Zone& zone : zones) {
        if (zone.applies) {
            m_control->setCursor(zone.cursor);
            m_kind = zone.kind;
            return;
        }
    }
    m_control->unsetCursor();
    m_kind = dkNone;
}

void TResizer::Drag(QPoint pos)
{
    const int x = pos.x();
    const int y = pos.y();
    // While the left or top edge is dragged the control moves with the pointer,
    // so the reference point needs no update there.
    switch (m_kind) {
    case dkTop:
        DoResize(0, false, m_lastY - y, true);
        break;
    case dkBottom:
        DoResize(0, false, y - m_lastY, false);
        m_lastY += Snap(y - m_lastY);
        break;
    case dkLeft:
        DoResize(m_lastX - x, true, 0, false);
        break;
    case dkRight:
        DoResize(x - m_lastX, false, 0, false);
        m_lastX += Snap(x - m_lastX);
        break;
    case dkTopLeft:
        DoResize(m_lastX - x, true, m_lastY - y, true);
        break;
    case dkBottomLeft:
        DoResize(m_lastX - x, true, y - m_lastY, false);
        m_lastY += Snap(y - m_lastY);
        break;
    case dkBottomRight:
        DoResize(x - m_lastX, false, y - m_lastY, false);
        m_lastX += Snap(x - m_lastX);
        m_lastY += Snap(y - m_lastY);
        break;
    case dkTopRight:
        DoResize(x - m_lastX, false, m_lastY - y, true);
        m_lastX += Snap(x - m_lastX);
        break;
    case dkMove:
        DoMove(qMax(0, Snap(m_control->x() - (m_lastX - x))), qMax(0, Snap(m_control->y() - (m_lastY - y))));
        break;
    case dkNone:
        break;
    }
}

namespace {

// Applies a snapped resize along one axis: moving the near edge keeps the far
// one (unless the near edge would pass 0, which leaves the size alone), moving
// the far edge grows or shrinks the size down to 6 pixels.
void ResizeAxis(int delta, bool moveNear, int& position, int& size)
{
    constexpr int MinimumSize = 6;
    if (moveNear) {
        position -= delta;
        if (position < 0) {
            position = 0;
            return;
        }
    }
    size = qMax(MinimumSize, size + delta);
}

} // namespace

void TResizer::DoResize(int dx, bool moveLeft, int dy, bool moveTop)
{
    QRect bounds = m_control->geometry();
    int left = bounds.x();
    int top = bounds.y();
    int width = bounds.width();
    int height = bounds.height();
    if (OnResize)
        OnResize(this, dx, dy);
    ResizeAxis(Snap(dx), moveLeft, left, width);
    ResizeAxis(Snap(dy), moveTop, top, height);
    const QRect resized(left, top, width, height);
    if (resized != bounds)
        m_control->setGeometry(resized);
}

void TResizer::DoMove(int left, int top)
{
    if (OnMove)
        OnMove(this, left, top);
    m_control->move(left, top);
}
