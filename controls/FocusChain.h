#pragma once

// Focus helpers shared by the controls that pass the focus on.

class QWidget;

// Whether the widget can take the focus: it exists, and it and every parent are
// visible and enabled.
bool CanTakeFocus(const QWidget* widget);

// Gives the focus to the widget when it can take it; answers whether it did.
bool FocusIfPossible(QWidget* widget);

// The control that should receive the focus along a chain of NextControl (next
// true) or PrevControl links that starts at first: the first link that can take
// the focus. A numeric edit or key combo box that cannot passes the focus on
// along its own link; any other control that cannot ends the chain without a
// result, and so does a chain that comes back to a control already passed.
QWidget* FocusChainTarget(QWidget* first, bool next);
