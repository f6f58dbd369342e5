#pragma once

// TConfirmComboBox is the keyboard model shared by the drop-down lists: Return
// opens the list, the arrows move within it (wrapping around at either end),
// Return confirms the entry shown, Escape closes the list and goes back to the
// entry saved on entry or at the last confirmation. A change the user makes
// while the list is closed (Home, End, type-ahead, a mouse choice) is confirmed
// at once. Every character is swallowed after OnKeyPress and type-ahead
// (TTypeAhead: the first entry from the top that begins with what was typed).
//
// While the list is open its keys arrive at the pop-up view; the list filters
// them there. Derived lists decide what a confirmation does and whether Up and
// Down move the focus while the list is closed.

#include "controls/FocusPresence.h"
#include "controls/TypeAhead.h"

#include <QComboBox>

class TConfirmComboBox : public QComboBox {
    Q_OBJECT

public:
    int SavedIndex() const { return m_savedIndex; }
    bool ConfirmPending() const { return m_confirmPending; }
    bool IsListOpen() const;

    void showPopup() override;

    // The tick count the type-ahead measures its pauses with.
    void SetTypeAheadClock(TTypeAhead::TClock clock) { m_typeAhead.SetClock(std::move(clock)); }

signals:
    // The user changed the entry shown (not raised for changes by the program).
    void OnChange();
    // key is 0 when the list used the key itself.
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Every character, Return included, before it is swallowed.
    void OnKeyPress(QChar key);
    void OnEnter();
    void OnExit();

protected:
    explicit TConfirmComboBox(QWidget* parent);

    // Return confirmed the entry shown (index -1: no entry is shown).
    virtual void Confirm(int index) = 0;
    // Up (next false) or Down with the list closed; answers whether the key
    // moved the focus and is used up.
    virtual bool ArrowMovesFocus(bool next) = 0;

    void SetSavedIndex(int index) { m_savedIndex = index; }

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool ClosedListKeyDown(int key);
    bool OpenListKey(QKeyEvent* event);
    bool OpenListKeyDown(int key);
    void ChooseListEntry();
    void KeyPress(QChar typed, const QString& text);
    void TypeAhead(const QString& text);
    void UserChanged();
    QStringList Entries() const;
    int ListRow() const;
    void SetListRow(int row);

    int m_savedIndex = 0;
    bool m_confirmPending = false;
    TFocusPresence m_presence;
    TTypeAhead m_typeAhead;
};
