#pragma once

// TNumberField is the one-line field shared by the numeric entry controls: it
// lets only a well-formed number be typed. Key handling runs in this order for
// every key press: the field's own key-down reaction (KeyDownUsed), then
// OnKeyDown, then the character filter with OnKeyPress and, on Return, Confirm.
// A window that connects to OnKeyDown so sees Return before the field acts on it.
//
// The character filter: digits and Backspace are typed; the locale's decimal
// separator, and its thousands separator where ThousandsSeparatorTypesDecimal,
// type the decimal separator, once, where the step allows a decimal part; a
// minus is typed only at the start, once, where NegativeAllowed; Return
// confirms; everything else (letters, blanks, "+", control characters such as
// the clipboard shortcuts) is swallowed without OnKeyPress.

#include "controls/FocusPresence.h"

#include <QLineEdit>

class TNumberField : public QLineEdit {
    Q_OBJECT

signals:
    // key is 0 when the field used the key itself.
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // A character the filter let through, before it is inserted.
    void OnKeyPress(QChar key);
    void OnEnter();
    void OnExit();

protected:
    explicit TNumberField(QWidget* parent);

    // The field's own reaction to a key before OnKeyDown; answers whether the
    // key is used up.
    virtual bool KeyDownUsed(int key) = 0;
    // The step that decides whether a decimal part may be typed (0: no step).
    virtual double Step() const = 0;
    // Whether a decimal part may be typed when there is no step.
    virtual bool DecimalWithoutStep() const { return true; }
    virtual bool ThousandsSeparatorTypesDecimal() const { return true; }
    virtual bool NegativeAllowed() const = 0;
    // Return was typed.
    virtual void Confirm() = 0;

    // Shows the text unless it is already shown (setting it again would drop
    // the selection).
    void ShowText(const QString& shown);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    TFocusPresence m_presence;

private:
    void FilterCharacter(QChar typed, QKeyEvent* event);
    void Insert(QChar character, QKeyEvent* event);
    bool DecimalAllowed() const;
    bool MinusAllowed() const;
};
