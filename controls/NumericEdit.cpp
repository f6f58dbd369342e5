#include "controls/NumericEdit.h"

#include "controls/FocusChain.h"

TNumericEdit::TNumericEdit(QWidget* parent) : TNumberEditBase(parent) {}

QWidget* TNumericEdit::GetNextControl() const
{
    return FocusChainTarget(NextControl(), true);
}

QWidget* TNumericEdit::GetPrevControl() const
{
    return FocusChainTarget(PrevControl(), false);
}

void TNumericEdit::MoveFocusOn(bool next, bool confirming)
{
    if (FocusIfPossible(next ? GetNextControl() : GetPrevControl()))
        return;
    if (confirming)
        selectAll();
}
