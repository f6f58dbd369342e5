#pragma once

// TOrvComboBox lets the user pick one of a fixed list of choices for a parameter
// whose value is the number of the choice. It is bound through Value to a
// single-value item whose value is the zero-based index of the entry shown;
// confirming an entry writes its index to the item. It carries a caption label
// (ComboLabel) and a move/resize object (Resizer).
//
// The item's value maps to an entry as: below 0 no entry; otherwise the value
// plus 0.5 cut toward zero, and no entry when that lies beyond the list.

#include "controls/ChildLabel.h"
#include "controls/ConfirmComboBox.h"
#include "controls/FocusLinks.h"
#include "controls/ItemLink.h"
#include "controls/Resizer.h"
#include "items/OrvNumber.h"

#include <QPointer>

class TOrvComboBox : public TConfirmComboBox, public TFocusLinks {
    Q_OBJECT
    Q_PROPERTY(TOrvNumber* Value READ Value WRITE SetValue)
    Q_PROPERTY(bool ArrowMoveFocus READ ArrowMoveFocus WRITE SetArrowMoveFocus)
    Q_PROPERTY(TChildLabel* ComboLabel READ ComboLabel)
    Q_PROPERTY(TResizer* Resizer READ Resizer CONSTANT)

public:
    explicit TOrvComboBox(QWidget* parent = nullptr);
    ~TOrvComboBox() override;

    TOrvNumber* Value() const { return m_value.Get(); }
    // Binds to the item (the entry shown stays until the item reports a value).
    void SetValue(TOrvNumber* item) { m_value.Set(item); }
    bool ArrowMoveFocus() const { return m_arrowMoveFocus; }
    void SetArrowMoveFocus(bool on) { m_arrowMoveFocus = on; }
    TChildLabel* ComboLabel() const { return m_label; }
    TResizer* Resizer() const { return m_resizer; }

    // Reads the item again from the unit and shows its entry; answers whether
    // the read succeeded and gave a value of 0 or more (true without an item).
    // Runs once the control has been bound (BindControls).
    bool InitData();
    void FocusNextControl();
    void FocusPrevControl();
    void SetupInternalLabel();

    // The entry index that shows the value, -1 for none.
    int IndexOfValue(double value) const;

protected:
    bool event(QEvent* event) override;
    void Confirm(int index) override;
    bool ArrowMovesFocus(bool next) override;

private:
    void ShowValue(double value);
    void ShowItemValue();

    QPointer<TResizer> m_resizer;
    TItemLink<TOrvNumber> m_value{this};
    QPointer<TChildLabel> m_label;
    bool m_arrowMoveFocus = true;
};
