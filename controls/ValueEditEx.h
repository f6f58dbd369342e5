#pragma once

// TValueEditEx is the one-line numeric field through which the user reads and
// changes one parameter of the unit. It is bound through Value to a single-value
// item: it shows the item's user value as text, lets only a well-formed number
// for that item be typed, hands the number to the item when the user confirms
// it with Return, and shows the item's value again whenever the item announces
// a change. It carries a caption label (EditLabel) and a move/resize object
// (Resizer).
//
// Its own key-down reactions (see TNumberField for the order of key handling):
// Escape shows the item's value again, selected, and is used up when that
// undid typing (otherwise it goes on to the window); Up and Down move the focus
// when ArrowMoveFocus is on. Return commits the text: on success the focus
// moves on, otherwise the error sound plays and the item's value is shown
// again, selected. The item's step and limits decide whether a decimal part
// and a minus may be typed.

#include "controls/ChildLabel.h"
#include "controls/FocusLinks.h"
#include "controls/ItemLink.h"
#include "controls/NumberField.h"
#include "controls/Resizer.h"
#include "items/OrvNumber.h"

#include <QPointer>

class TWindowMessage;

class TValueEditEx : public TNumberField, public TFocusLinks {
    Q_OBJECT
    Q_PROPERTY(TOrvNumber* Value READ Value WRITE SetValue)
    Q_PROPERTY(bool ArrowMoveFocus READ ArrowMoveFocus WRITE SetArrowMoveFocus)
    Q_PROPERTY(bool Validation READ Validation WRITE SetValidation)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(
        TDataDefinedAspect DataNotDefinedAspect READ DataNotDefinedAspect WRITE SetDataNotDefinedAspect)
    Q_PROPERTY(bool DataDefined READ DataDefined)
    Q_PROPERTY(TChildLabel* EditLabel READ EditLabel)
    Q_PROPERTY(TResizer* Resizer READ Resizer CONSTANT)

public:
    // How the field looks while its item has no data.
    enum TDataDefinedAspect { ddNone, ddInvisible, ddDisabled };
    Q_ENUM(TDataDefinedAspect)

    explicit TValueEditEx(QWidget* parent = nullptr);
    ~TValueEditEx() override;

    TOrvNumber* Value() const { return m_value.Get(); }
    // Binds to the item (the text stays until the item reports a value).
    void SetValue(TOrvNumber* item) { m_value.Set(item); }
    bool ArrowMoveFocus() const { return m_arrowMoveFocus; }
    void SetArrowMoveFocus(bool on) { m_arrowMoveFocus = on; }
    bool Validation() const { return m_validation; }
    void SetValidation(bool on) { m_validation = on; }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    TDataDefinedAspect DataNotDefinedAspect() const { return m_aspect; }
    void SetDataNotDefinedAspect(TDataDefinedAspect aspect);
    bool DataDefined() const { return m_dataDefined; }
    TChildLabel* EditLabel() const { return m_label; }
    TResizer* Resizer() const { return m_resizer; }

    // Reads the item again from the unit and shows it; answers whether the read
    // succeeded (true without an item).
    bool InitData();
    // Hands the text to the item; answers whether the item took it.
    bool AcquireValue();
    void FocusNextControl();
    void FocusPrevControl();
    void RefreshDataDefinitionAspect(bool defined);
    void SetupInternalLabel();
    void AdjustHeight();
    void UpdateHeight();

protected:
    bool KeyDownUsed(int key) override;
    double Step() const override;
    bool NegativeAllowed() const override;
    void Confirm() override;

    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void HandleMessage(const TWindowMessage& message);
    void DataChanged();
    void ShowNumber(double value);
    void ShowItemValue();

    bool m_arrowMoveFocus = true;
    TItemLink<TOrvNumber> m_value{this};
    QPointer<TChildLabel> m_label;
    QPointer<TResizer> m_resizer;
    bool m_autoSize = true;
    TDataDefinedAspect m_aspect = ddNone;
    bool m_dataDefined = true;
    bool m_validation = true;
};
