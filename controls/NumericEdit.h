#pragma once

// TNumericEdit is an unbound numeric field (see TNumberEditBase). Return and
// Down pass the focus along the NextControl chain, Up along the PrevControl
// chain; hidden or disabled numeric edits and key combo boxes in a chain are
// skipped. DisableLimit switches the limits off. DataCode, DataIndex and
// VisibilityLevel are kept for the application.

#include "controls/DataTags.h"
#include "controls/FocusLinks.h"
#include "controls/NumberEditBase.h"

class TNumericEdit : public TNumberEditBase, public TFocusLinks, public TDataTags {
    Q_OBJECT
    Q_PROPERTY(bool DisableLimit READ DisableLimit WRITE SetDisableLimit)

public:
    explicit TNumericEdit(QWidget* parent = nullptr);

    bool DisableLimit() const { return m_disableLimit; }
    void SetDisableLimit(bool on) { m_disableLimit = on; }

    // The control that should receive the focus along the chain, or none.
    QWidget* GetNextControl() const;
    QWidget* GetPrevControl() const;

protected:
    void MoveFocusOn(bool next, bool confirming) override;

private:
};
