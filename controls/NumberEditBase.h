#pragma once

// TNumberEditBase is the one-line field of the unbound numeric edits: it holds a
// number of its own (LastValue) with optional limits and a step (Precision).
// The limits count when they are not both 0; a step of 0 means no step. The
// text is read back with the locale's conversion; text that is not a number
// reads as LastValue. Escape, and leaving the field with Validation on, show
// LastValue again; Return takes the text as the new LastValue.
//
// Its own key-down reactions (see TNumberField for the order of key handling):
// Escape shows LastValue again, selected, and is used up when that undid
// typing (otherwise it goes on to the window); Up and Down move the focus and
// are used up in any case. Return takes the text, within the rules, as LastValue,
// raises OnKeyPress for it and moves the focus on.

#include "controls/NumberField.h"

class TNumberEditBase : public TNumberField {
    Q_OBJECT
    Q_PROPERTY(double Precision READ GetPrecision WRITE SetPrecision)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(bool Validation READ Validation WRITE SetValidation)

public:
    // The value the text stands for, within the limits and on the step;
    // changes neither the text nor LastValue.
    double GetDouble() const;
    // Shows the value within the limits and on the step and makes it LastValue;
    // a value outside the limits shows the limit it passed.
    void SetDouble(double value);
    // The whole number the field holds after its limits and step have been
    // applied to the text (the text is rewritten when they change it).
    int GetInt();
    // Shows the whole number within the limits (no step) and makes it LastValue.
    void SetInt(int value);
    // which 1 is MaxValue, 2 is MinValue.
    double GetLimit(int which) const;
    // A maximum below MinValue or a minimum above MaxValue is refused.
    void SetLimit(int which, double value);
    double GetPrecision() const { return m_precision; }
    void SetPrecision(double precision) { m_precision = precision; }

    double MaxValue() const { return m_maxValue; }
    void SetMaxValue(double value) { SetLimit(1, value); }
    double MinValue() const { return m_minValue; }
    void SetMinValue(double value) { SetLimit(2, value); }
    bool Validation() const { return m_validation; }
    void SetValidation(bool on) { m_validation = on; }
    double LastValue() const { return m_lastValue; }

protected:
    explicit TNumberEditBase(QWidget* parent);

    // Where the focus goes: Return was confirmed (next true, confirming true)
    // or Up (next false) / Down (next true) was pressed.
    virtual void MoveFocusOn(bool next, bool confirming) = 0;

    // Limits switched off (only the numeric edit offers the switch).
    bool m_disableLimit = false;

    bool KeyDownUsed(int key) override;
    double Step() const override { return m_precision; }
    bool NegativeAllowed() const override;
    void Confirm() override;

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool LimitsApply() const;
    double Stepped(double value) const;
    void Show(double value);

    double m_precision = 0;
    double m_minValue = 0;
    double m_maxValue = 0;
    double m_lastValue = 0;
    bool m_validation = true;
};
