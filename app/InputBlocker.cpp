#include "app/InputBlocker.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace {

// The events through which a user starts something.
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

TInputBlocker::TInputBlocker()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        m_windows << window;
    qApp->installEventFilter(this);
}

TInputBlocker::~TInputBlocker()
{
    qApp->removeEventFilter(this);
}

bool TInputBlocker::Blocks(const QWidget* widget) const
{
    const QWidget* window = widget ? widget->window() : nullptr;
    return window && m_windows.contains(window);
}

// A widget belongs to its window; a shortcut's action or QShortcut to the
// widgets it was given to. Other objects (the windows' platform windows among
// them) pass: what they receive reaches the widgets afterwards.
bool TInputBlocker::BlocksReceiver(QObject* receiver) const
{
    if (receiver->isWidgetType())
        return Blocks(static_cast<QWidget*>(receiver));
    if (const auto* action = qobject_cast<const QAction*>(receiver)) {
        const QObjectList owners = action->associatedObjects();
        return std::none_of(owners.cbegin(), owners.cend(), [this](QObject* owner) {
            return owner->isWidgetType() && !Blocks(static_cast<QWidget*>(owner));
        });
    }
    if (QObject* owner = receiver->parent(); owner && owner->isWidgetType())
        return Blocks(static_cast<QWidget*>(owner));
    return false;
}

bool TInputBlocker::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Close && event->spontaneous() && BlocksReceiver(watched)) {
        event->ignore(); // the window stays open
        return true;
    }
    if (!IsUserInput(type) || !BlocksReceiver(watched))
        return false;
    // A drop is refused; anything else counts as used up, so that it neither
    // reaches a parent widget nor, for a shortcut override, a shortcut.
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        event->ignore();
    else
        event->accept();
    return true;
}
