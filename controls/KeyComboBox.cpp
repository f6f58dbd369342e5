#include "controls/KeyComboBox.h"

#include "controls/FocusChain.h"

TKeyComboBox::TKeyComboBox(QWidget* parent) : TConfirmComboBox(parent) {}

QWidget* TKeyComboBox::GetNextControl() const
{
    return FocusChainTarget(NextControl(), true);
}

QWidget* TKeyComboBox::GetPrevControl() const
{
    return FocusChainTarget(PrevControl(), false);
}

bool TKeyComboBox::ArrowMovesFocus(bool next)
{
    if (!m_moveFocus)
        return false;
    FocusIfPossible(next ? GetNextControl() : GetPrevControl());
    return true;
}
