#include "controls/ChildLabel.h"

#include "controls/FocusChain.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>

TChildLabel::TChildLabel(QWidget* owner) : QLabel(owner ? owner->parentWidget() : nullptr), m_owner(owner)
{
    setObjectName(QStringLiteral("ChildLabel"));
    if (!owner)
        return;
    if (owner->focusPolicy() != Qt::NoFocus)
        setBuddy(owner);
    owner->installEventFilter(this);
    SetCaption(owner->objectName());
}

void TChildLabel::SetCaption(const QString& caption)
{
    setText(caption);
    FitToText();
    Anchor();
}

// Some faces draw the accents of capitals (Ü, Ö, É) above their ascent, where a
// label sized to the font would cut them off; a top margin makes room for them.
void TChildLabel::FitToText()
{
    const QFontMetrics metrics = fontMetrics();
    const int above = -metrics.tightBoundingRect(text()).top() - metrics.ascent();
    setContentsMargins(0, qMax(0, above), 0, 0);
    adjustSize();
}

void TChildLabel::SetLabelPosition(TLabelPosition position)
{
    if (!m_owner)
        return;
    m_position = position;
    Anchor();
}

void TChildLabel::SetLabelSpacing(int spacing)
{
    m_spacing = spacing;
    Anchor();
}

void TChildLabel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    setAlignment(horizontal[alignment] | Qt::AlignVCenter);
    Anchor();
}

void TChildLabel::Update()
{
    update();
    Anchor();
}

void TChildLabel::Anchor()
{
    if (!m_owner)
        return;
    const QRect owner = m_owner->geometry();
    const int w = width();
    const int h = height();
    const int s = m_spacing;
    int left = 0;
    int top = 0;
    switch (m_position) {
    case lpAbove:
    case lpBelow: {
        top = m_position == lpAbove ? owner.y() - h - s : owner.y() + owner.height() + s;
        const int lefts[] = {owner.x(), owner.x() + owner.width() - w, owner.x() + (owner.width() - w) / 2};
        left = lefts[m_alignment];
        break;
    }
    case lpLeft:
    case lpRight: {
        top = owner.y() + (owner.height() - h) / 2;
        const int edge = m_position == lpLeft ? owner.x() - s : owner.x() + owner.width() + s;
        const int lefts[] = {edge, edge - w, edge - w / 2};
        left = lefts[m_alignment];
        break;
    }
    }
    move(left, top);
}

void TChildLabel::FollowOwnerParent()
{
    QWidget* parent = m_owner->parentWidget();
    if (parent != parentWidget())
        setParent(parent);
    if (parent)
        setVisible(!m_owner->isHidden());
    Anchor();
}

bool TChildLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_owner)
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        Anchor();
        break;
    case QEvent::ParentChange:
        FollowOwnerParent();
        break;
    case QEvent::ShowToParent:
        if (parentWidget())
            show();
        break;
    case QEvent::HideToParent:
        hide();
        break;
    default:
        break;
    }
    return false;
}

void TChildLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitToText();
        Anchor();
    }
}

void TChildLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit OnClick();
    FocusIfPossible(buddy());
}
