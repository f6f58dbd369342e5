#pragma once

// TKeyComboBox is a drop-down list with the keyboard model of the bound combo
// box but without an item: a confirmation only stores SavedIndex. Up and Down
// with the list closed follow the NextControl / PrevControl chain when MoveFocus
// is on. DataCode, DataIndex and VisibilityLevel are kept for the application.

#include "controls/ConfirmComboBox.h"
#include "controls/DataTags.h"
#include "controls/FocusLinks.h"

class TKeyComboBox : public TConfirmComboBox, public TFocusLinks, public TDataTags {
    Q_OBJECT
    Q_PROPERTY(bool MoveFocus READ MoveFocus WRITE SetMoveFocus)

public:
    explicit TKeyComboBox(QWidget* parent = nullptr);

    bool MoveFocus() const { return m_moveFocus; }
    void SetMoveFocus(bool on) { m_moveFocus = on; }

    // The control that should receive the focus along the chain, or none.
    QWidget* GetNextControl() const;
    QWidget* GetPrevControl() const;

protected:
    void Confirm(int) override {}
    bool ArrowMovesFocus(bool next) override;

private:
    bool m_moveFocus = true;
};
