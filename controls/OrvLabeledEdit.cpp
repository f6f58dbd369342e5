#include "controls/OrvLabeledEdit.h"

#include <QMouseEvent>

namespace {

// Distance between the caption label and the field above which it sits.
constexpr int CaptionSpacing = 3;
constexpr int MoveGrid = 10;

} // namespace

TOrvLabeledEdit::TOrvLabeledEdit(QWidget* parent) : TNumberEditBase(parent), m_label(new TChildLabel(this))
{
    m_label->SetLabelPosition(TChildLabel::lpAbove);
    m_label->SetLabelSpacing(CaptionSpacing);
    m_lastX = x();
    m_lastY = y();
    setMouseTracking(true);
}

TOrvLabeledEdit::~TOrvLabeledEdit()
{
    delete m_label;
}

void TOrvLabeledEdit::MoveFocusOn(bool next, bool)
{
    focusNextPrevChild(next);
}

void TOrvLabeledEdit::SetResizingDistance(int border)
{
    if (border >= 0 && border < qMin(width(), height()))
        m_border = border;
}

void TOrvLabeledEdit::EndDrag()
{
    m_dragging = false;
    m_kind = TResizer::dkNone;
}

void TOrvLabeledEdit::SetLockControl(bool locked)
{
    EndDrag();
    m_locked = locked;
    unsetCursor();
}

void TOrvLabeledEdit::Hover(QPoint pos)
{
    const int x = pos.x();
    const int y = pos.y();
    const int b = m_border;
    const bool nearLeft = x < b;
    const bool nearRight = x > width() - b;
    const bool nearTop = y < b;
    const bool nearBottom = y > height() - b;
    const bool move = m_mode.testFlag(TResizer::raMove);

    m_kind = TResizer::dkNone;
    if (m_mode.testFlag(TResizer::raCorner) && (nearLeft || nearRight) && (nearTop || nearBottom)) {
        unsetCursor();
    } else if (m_mode.testFlag(TResizer::raHorizontal) && ((nearLeft && move) || nearRight)) {
        m_kind = nearLeft ? TResizer::dkLeft : TResizer::dkRight;
        setCursor(Qt::SizeHorCursor);
    } else if (m_mode.testFlag(TResizer::raVertical) && ((nearTop && move) || nearBottom)) {
        m_kind = nearTop ? TResizer::dkTop : TResizer::dkBottom;
        setCursor(Qt::SizeVerCursor);
    } else if (move) {
        setCursor(Qt::SizeAllCursor);
    } else {
        unsetCursor();
    }
}

void TOrvLabeledEdit::Drag(QPoint pos)
{
    const int dx = pos.x() - m_lastX;
    const int dy = pos.y() - m_lastY;
    QRect bounds = geometry();
    switch (m_kind) {
    case TResizer::dkRight:
        bounds.setWidth(bounds.width() + dx);
        m_lastX = pos.x();
        break;
    case TResizer::dkBottom:
        bounds.setHeight(bounds.height() + dy);
        m_lastY = pos.y();
        break;
    case TResizer::dkLeft: // the control moves with the pointer
        bounds.setLeft(bounds.left() + dx);
        break;
    case TResizer::dkTop:
        bounds.setTop(bounds.top() + dy);
        break;
    default: {
        const int left = qMax(0, bounds.left() + dx) / MoveGrid * MoveGrid;
        const int top = qMax(0, bounds.top() + dy) / MoveGrid * MoveGrid;
        bounds.moveTo(left, top);
        break;
    }
    }
    setGeometry(bounds);
}

void TOrvLabeledEdit::mousePressEvent(QMouseEvent* event)
{
    if (!m_locked && event->button() == Qt::LeftButton && m_mode.testFlag(TResizer::raMove)) {
        const QPoint pos = event->position().toPoint();
        Hover(pos);
        m_lastX = pos.x();
        m_lastY = pos.y();
        m_dragging = true;
        if (m_kind == TResizer::dkNone) {
            m_kind = TResizer::dkMove;
            setCursor(Qt::SizeAllCursor);
        }
    }
    TNumberEditBase::mousePressEvent(event);
}

void TOrvLabeledEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_locked) {
        if (m_dragging)
            Drag(event->position().toPoint());
        else
            Hover(event->position().toPoint());
    }
    TNumberEditBase::mouseMoveEvent(event);
}

void TOrvLabeledEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_locked && event->button() == Qt::LeftButton) {
        EndDrag();
        unsetCursor();
    }
    TNumberEditBase::mouseReleaseEvent(event);
}
