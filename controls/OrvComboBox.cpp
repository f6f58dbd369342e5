#include "controls/OrvComboBox.h"

#include "controls/FocusChain.h"
#include "items/Rounding.h"
#include "link/WindowMessage.h"

TOrvComboBox::TOrvComboBox(QWidget* parent) : TConfirmComboBox(parent), m_resizer(new TResizer(this, this))
{
    SetupInternalLabel();
}

TOrvComboBox::~TOrvComboBox()
{
    delete m_label;
}

void TOrvComboBox::SetupInternalLabel()
{
    if (!m_label)
        m_label = new TChildLabel(this);
}

int TOrvComboBox::IndexOfValue(double value) const
{
    if (value < 0)
        return -1;
    const int index = TruncToInt(value + 0.5);
    return index < count() ? index : -1;
}

void TOrvComboBox::ShowValue(double value)
{
    setCurrentIndex(IndexOfValue(value));
    SetSavedIndex(currentIndex());
}

void TOrvComboBox::ShowItemValue()
{
    double value = 0;
    m_value->GetData(&value);
    ShowValue(value);
}

bool TOrvComboBox::InitData()
{
    if (!m_value)
        return true;
    double value = 0;
    const bool read = ReadItemAgain(*m_value.Get(), &value);
    ShowValue(value);
    return read && value >= 0;
}

void TOrvComboBox::Confirm(int index)
{
    // With no entry shown there is no choice to write.
    if (!m_value || index < 0)
        return;
    // A refused or failed write leaves the item as it was: show it again.
    if (!m_value->SetData(index))
        ShowItemValue();
}

bool TOrvComboBox::ArrowMovesFocus(bool next)
{
    if (!m_arrowMoveFocus)
        return false;
    if (next)
        FocusNextControl();
    else
        FocusPrevControl();
    return true;
}

void TOrvComboBox::FocusNextControl()
{
    if (!FocusIfPossible(NextControl()))
        focusNextPrevChild(true);
}

void TOrvComboBox::FocusPrevControl()
{
    if (!FocusIfPossible(PrevControl()))
        focusNextPrevChild(false);
}

bool TOrvComboBox::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (TakeItemMessage(m_value.Get(), *message))
            ShowItemValue();
        return true;
    }
    return TConfirmComboBox::event(event);
}
