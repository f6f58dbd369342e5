#include "controls/KeyInput.h"

#include "support/NumberText.h"

#include <QKeyEvent>

QChar TypedCharacter(const QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(KeyChar::Return);
    case Qt::Key_Backspace:
        return QChar(KeyChar::Backspace);
    case Qt::Key_Escape:
        return QChar(KeyChar::Escape);
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(char16_t(key - Qt::Key_A + 1));
    const QString text = event->text();
    if (text.isEmpty() || text.at(0) == QChar(0x7F))
        return QChar();
    return text.at(0);
}

bool IsSwallowedControl(QChar character)
{
    return character.unicode() < 0x20 && character != QChar(KeyChar::Backspace) &&
           character != QChar(KeyChar::Return);
}

bool IsSwallowedShortcut(const QKeyEvent* event)
{
    const QChar typed = TypedCharacter(event);
    return !typed.isNull() && IsSwallowedControl(typed) && typed != QChar(KeyChar::Escape);
}

bool IsSeparatorKey(QChar character)
{
    return character == DecimalSeparator() || character == ThousandsSeparator();
}
