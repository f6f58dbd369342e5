#include "controls/OrvCheckBox.h"

#include "items/Rounding.h"
#include "link/WindowMessage.h"

#include <QStyleOptionButton>

TOrvCheckBox::TOrvCheckBox(QWidget* parent) : QCheckBox(parent), m_resizer(new TResizer(this, this))
{
    setTristate(false);
    // clicked is raised by the user's action only, never by setChecked, so
    // showing the item cannot write it back.
    connect(this, &QCheckBox::clicked, this, &TOrvCheckBox::UserClicked);
}

void TOrvCheckBox::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    updateGeometry();
    update();
}

void TOrvCheckBox::initStyleOption(QStyleOptionButton* option) const
{
    QCheckBox::initStyleOption(option);
    // The style puts the box at the far side of a right-to-left option and the
    // caption next to it; the text itself keeps the widget's direction, so its
    // punctuation stays where it was written.
    if (m_alignment == taLeftJustify)
        option->direction = Qt::RightToLeft;
}

void TOrvCheckBox::SetCondition(TCheckCondition condition)
{
    m_condition = condition;
    InitData();
}

void TOrvCheckBox::SetConditionValue(double value)
{
    m_conditionValue = value;
    InitData();
}

bool TOrvCheckBox::IsCheckedBy(double value) const
{
    switch (m_condition) {
    case ccEqualTo:
        return value == m_conditionValue;
    case ccNotEqualTo:
        return value != m_conditionValue;
    case ccMinorOf:
        return value < m_conditionValue;
    case ccGreaterOf:
        return value > m_conditionValue;
    case ccMaskedBit:
        return double(TruncToInt(value) & TruncToInt(m_conditionValue)) == m_checkedValue;
    }
    return false;
}

void TOrvCheckBox::SetupCheckedState(double value)
{
    setChecked(IsCheckedBy(value));
}

void TOrvCheckBox::ShowItemValue()
{
    double value = 0;
    m_value->GetData(&value);
    SetupCheckedState(value);
}

bool TOrvCheckBox::InitData()
{
    if (!m_value)
        return true;
    double value = 0;
    const bool read = ReadItemAgain(*m_value.Get(), &value);
    SetupCheckedState(value);
    return read;
}

bool TOrvCheckBox::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (TakeItemMessage(m_value.Get(), *message))
            ShowItemValue();
        return true;
    }
    return QCheckBox::event(event);
}

void TOrvCheckBox::UserClicked(bool checked)
{
    emit OnClick();
    if (!m_value)
        return;
    const double written = checked ? m_checkedValue : m_uncheckedValue;
    bool accepted = false;
    if (m_condition == ccMaskedBit) {
        double current = 0;
        if (!m_value->GetData(&current)) {
            // Nothing is written; the box shows the value the item still holds.
            SetupCheckedState(current);
            return;
        }
        const int mask = TruncToInt(m_conditionValue);
        accepted = m_value->SetData((TruncToInt(current) & ~mask) | (TruncToInt(written) & mask));
    } else {
        // The two written values may lie outside the item's limits.
        const bool limitsWereDisabled = m_value->DisableLimits();
        m_value->SetDisableLimits(true);
        accepted = m_value->SetData(written);
        if (m_value)
            m_value->SetDisableLimits(limitsWereDisabled);
    }
    // A refused or failed write leaves the item as it was: show it again rather
    // than a state the item does not have.
    if (!accepted && m_value)
        ShowItemValue();
}
