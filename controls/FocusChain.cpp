#include "controls/FocusChain.h"

#include "controls/KeyComboBox.h"
#include "controls/NumericEdit.h"

#include <QSet>
#include <QWidget>

bool CanTakeFocus(const QWidget* widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

bool FocusIfPossible(QWidget* widget)
{
    if (!CanTakeFocus(widget))
        return false;
    widget->setFocus(Qt::TabFocusReason);
    return true;
}

namespace {

// The link that follows the control in the chain, for the kinds that pass the focus on.
QWidget* ChainLink(const QWidget* control, bool next)
{
    if (const auto* edit = qobject_cast<const TNumericEdit*>(control))
        return next ? edit->NextControl() : edit->PrevControl();
    if (const auto* combo = qobject_cast<const TKeyComboBox*>(control))
        return next ? combo->NextControl() : combo->PrevControl();
    return nullptr;
}

} // namespace

QWidget* FocusChainTarget(QWidget* first, bool next)
{
    QSet<const QWidget*> passed;
    for (QWidget* link = first; link && !passed.contains(link); link = ChainLink(link, next)) {
        if (CanTakeFocus(link))
            return link;
        passed.insert(link);
    }
    return nullptr;
}
