#include "controls/NumberField.h"

#include "controls/KeyInput.h"
#include "support/NumberText.h"

#include <QKeyEvent>
#include <cmath>

TNumberField::TNumberField(QWidget* parent) : QLineEdit(parent) {}

void TNumberField::ShowText(const QString& shown)
{
    if (shown != text())
        setText(shown);
}

bool TNumberField::event(QEvent* event)
{
    // A shortcut the filter would swallow is left to the window instead.
    if (event->type() == QEvent::ShortcutOverride && IsSwallowedShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void TNumberField::keyPressEvent(QKeyEvent* event)
{
    const bool used = KeyDownUsed(event->key());
    emit OnKeyDown(used ? 0 : event->key(), event->modifiers());
    if (used)
        return;
    const QChar typed = TypedCharacter(event);
    if (typed.isNull())
        QLineEdit::keyPressEvent(event); // keys that only move or edit
    else
        FilterCharacter(typed, event);
}

void TNumberField::FilterCharacter(QChar typed, QKeyEvent* event)
{
    if ((typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) || typed == QChar(KeyChar::Backspace))
        return Insert(typed, event);

    const QChar separator = DecimalSeparator();
    if (typed == ThousandsSeparator() && typed != separator) {
        if (!ThousandsSeparatorTypesDecimal())
            return;
        typed = separator;
    }
    if (typed == separator) {
        if (DecimalAllowed())
            Insert(typed, event);
    } else if (typed == QLatin1Char('-')) {
        if (MinusAllowed())
            Insert(typed, event);
    } else if (typed == QChar(KeyChar::Return)) {
        Confirm();
    } else if (typed == QChar(KeyChar::Escape)) {
        event->ignore(); // left to the window (a dialog closes on Escape)
    }
}

void TNumberField::Insert(QChar character, QKeyEvent* event)
{
    emit OnKeyPress(character);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), QString(character));
    QLineEdit::keyPressEvent(&typed);
}

bool TNumberField::DecimalAllowed() const
{
    // A step with a fractional part (0.01, 0.5) allows a decimal part, a whole
    // step (1, 10) does not.
    const double step = Step();
    const bool stepAllows = step == 0 ? DecimalWithoutStep() : std::floor(step) != step;
    const QChar separator = DecimalSeparator();
    return stepAllows && (!text().contains(separator) || selectedText().contains(separator));
}

bool TNumberField::MinusAllowed() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QChar minus = QLatin1Char('-');
    return start == 0 && NegativeAllowed() && (!text().contains(minus) || selectedText().contains(minus));
}
