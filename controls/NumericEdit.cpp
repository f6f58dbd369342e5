#include "controls/NumericEdit.h"

#include "controls/FocusChain.h"

TNumericEdit::TNumericEdit(QWidget* parent) : TNumberEditBase(parent) {}

QWidget* TNumericEdit::GetNextControl() const
{
    return FocusChainTarget(m_nextControl, true);
}

QWidget* TNumericEdit::GetPrevControl() const
{
    return FocusChainTarget(m_prevControl, false);
}

void TNumericEdit::MoveFocusOn(bool next, bool confirming)
{
    if (FocusIfPossible(next ? GetNextControl() : GetPrevControl()))
        return;
    if (confirming)
        selectAll();
}
