#pragma once

// TOrvCheckBox shows a yes/no view of a numeric parameter and lets the user
// switch it. It is bound through Value to a single-value item. Condition and
// ConditionValue decide from the item's value whether the box is checked;
// clicking writes CheckedValue or UncheckedValue, or, with ccMaskedBit, sets
// the bits of ConditionValue in the item's current value to those of the
// written value. Showing the item never writes it back. It carries a
// move/resize object (Resizer); its own caption serves as its label, right of
// the box (Alignment taRightJustify, the default) or left of it, with the box
// at the right edge (taLeftJustify).

#include "controls/ItemLink.h"
#include "controls/Resizer.h"
#include "items/OrvNumber.h"

#include <QCheckBox>
#include <QPointer>

class TOrvCheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(TOrvNumber* Value READ Value WRITE SetValue)
    Q_PROPERTY(TCheckCondition Condition READ Condition WRITE SetCondition)
    Q_PROPERTY(double ConditionValue READ ConditionValue WRITE SetConditionValue)
    Q_PROPERTY(double CheckedValue READ CheckedValue WRITE SetCheckedValue)
    Q_PROPERTY(double ValueChecked READ CheckedValue WRITE SetCheckedValue)
    Q_PROPERTY(double UncheckedValue READ UncheckedValue WRITE SetUncheckedValue)
    Q_PROPERTY(double ValueUnchecked READ UncheckedValue WRITE SetUncheckedValue)
    Q_PROPERTY(TResizer* Resizer READ Resizer CONSTANT)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    // Checked when the item's value v is: ccEqualTo v = ConditionValue,
    // ccNotEqualTo v ≠ ConditionValue, ccMinorOf v < ConditionValue,
    // ccGreaterOf v > ConditionValue, ccMaskedBit (v AND ConditionValue) =
    // CheckedValue, with both cut toward zero to integers.
    enum TCheckCondition { ccEqualTo, ccNotEqualTo, ccMinorOf, ccGreaterOf, ccMaskedBit };
    Q_ENUM(TCheckCondition)
    // Where the caption stands: taLeftJustify left of the box, taRightJustify right of it.
    enum TAlignment { taLeftJustify, taRightJustify };
    Q_ENUM(TAlignment)

    explicit TOrvCheckBox(QWidget* parent = nullptr);

    TOrvNumber* Value() const { return m_value.Get(); }
    // Binds to the item; the checked state stays until the item reports a value.
    void SetValue(TOrvNumber* item) { m_value.Set(item); }
    TCheckCondition Condition() const { return m_condition; }
    // Stores the condition and shows it against a fresh read of the item.
    void SetCondition(TCheckCondition condition);
    double ConditionValue() const { return m_conditionValue; }
    void SetConditionValue(double value);
    double CheckedValue() const { return m_checkedValue; }
    void SetCheckedValue(double value) { m_checkedValue = value; }
    double UncheckedValue() const { return m_uncheckedValue; }
    void SetUncheckedValue(double value) { m_uncheckedValue = value; }
    TResizer* Resizer() const { return m_resizer; }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

    // Reads the item again from the unit and shows it; answers whether the read
    // succeeded (true without an item).
    bool InitData();
    // Sets the checked state from the value by Condition, without writing.
    void SetupCheckedState(double value);
    // Whether the value checks the box under the current condition.
    bool IsCheckedBy(double value) const;

signals:
    // The user clicked the box; raised before the item is written.
    void OnClick();

protected:
    bool event(QEvent* event) override;
    // Drawing, sizing and hit-testing all take the caption's side from here.
    void initStyleOption(QStyleOptionButton* option) const override;
    // The whole control takes clicks, whichever side its caption is on.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    void UserClicked(bool checked);
    void ShowItemValue();

    QPointer<TResizer> m_resizer;
    TItemLink<TOrvNumber> m_value{this};
    TCheckCondition m_condition = ccNotEqualTo;
    double m_checkedValue = 1;
    double m_uncheckedValue = 0;
    double m_conditionValue = 0;
    TAlignment m_alignment = taRightJustify;
};
