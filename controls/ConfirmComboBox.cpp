#include "controls/ConfirmComboBox.h"

#include "controls/KeyInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>

TConfirmComboBox::TConfirmComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(8);
    // Installed after the pop-up's own filter, so it sees the list's keys first.
    view()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &TConfirmComboBox::UserChanged);
}

bool TConfirmComboBox::IsListOpen() const
{
    return view()->isVisible();
}

void TConfirmComboBox::showPopup()
{
    QComboBox::showPopup();
    m_confirmPending = true;
}

int TConfirmComboBox::ListRow() const
{
    return view()->currentIndex().row();
}

void TConfirmComboBox::SetListRow(int row)
{
    view()->setCurrentIndex(model()->index(row, modelColumn(), rootModelIndex()));
}

// --- the user's changes ---------------------------------------------------

void TConfirmComboBox::UserChanged()
{
    emit OnChange();
    if (IsListOpen())
        return;
    // A change with the list closed is confirmed at once.
    m_confirmPending = true;
    KeyPress(QChar(KeyChar::Return), QString());
}

void TConfirmComboBox::KeyPress(QChar typed, const QString& text)
{
    if (typed == QChar(KeyChar::Return)) {
        if (m_confirmPending) {
            m_savedIndex = currentIndex();
            Confirm(currentIndex());
        } else {
            showPopup();
        }
    }
    emit OnKeyPress(typed);
    if (typed.unicode() >= 0x20)
        TypeAhead(text);
    m_confirmPending = IsListOpen();
}

QStringList TConfirmComboBox::Entries() const
{
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries << itemText(i);
    return entries;
}

void TConfirmComboBox::TypeAhead(const QString& text)
{
    if (IsListOpen()) {
        const int row = m_typeAhead.Type(text, Entries(), ListRow());
        if (row >= 0)
            SetListRow(row);
        return;
    }
    const int row = m_typeAhead.Type(text, Entries(), currentIndex());
    if (row != currentIndex()) {
        setCurrentIndex(row);
        UserChanged();
    }
}

// --- keys with the list closed ----------------------------------------------

bool TConfirmComboBox::ClosedListKeyDown(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return ArrowMovesFocus(key == Qt::Key_Down);
    default:
        return false;
    }
}

void TConfirmComboBox::keyPressEvent(QKeyEvent* event)
{
    const bool used = ClosedListKeyDown(event->key());
    emit OnKeyDown(used ? 0 : event->key(), event->modifiers());
    if (used)
        return;
    const QChar typed = TypedCharacter(event);
    if (typed.isNull()) {
        QComboBox::keyPressEvent(event); // Home, End, the arrows, the list's own opening keys
        return;
    }
    KeyPress(typed, event->text());
    if (typed == QChar(KeyChar::Escape))
        event->ignore(); // left to the window (a dialog closes on Escape)
}

// --- keys of the open list --------------------------------------------------

bool TConfirmComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view() || !IsListOpen())
        return QComboBox::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return OpenListKey(static_cast<QKeyEvent*>(event));
    // Every key is asked for as a key press, where the list handles it, rather
    // than left to the pop-up's own shortcut handling (which would confirm on
    // Return and close on Escape by itself).
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

bool TConfirmComboBox::OpenListKeyDown(int key)
{
    const int last = count() - 1;
    switch (key) {
    case Qt::Key_Escape:
        hidePopup();
        m_confirmPending = false;
        setCurrentIndex(m_savedIndex);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    case Qt::Key_Up:
        if (ListRow() != 0)
            return false;
        SetListRow(last);
        return true;
    case Qt::Key_Down:
        if (ListRow() != last)
            return false;
        SetListRow(0);
        return true;
    default:
        return false;
    }
}

bool TConfirmComboBox::OpenListKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        // Leaving closes the list and keeps the entry the field had.
        hidePopup();
        focusNextPrevChild(key == Qt::Key_Tab);
        return true;
    }
    const bool used = OpenListKeyDown(key);
    emit OnKeyDown(used ? 0 : key, event->modifiers());
    if (used)
        return true;
    const QChar typed = TypedCharacter(event);
    if (typed.isNull())
        return false; // the view moves within the list
    if (typed == QChar(KeyChar::Return))
        ChooseListEntry();
    KeyPress(typed, event->text());
    return true;
}

void TConfirmComboBox::ChooseListEntry()
{
    // Only a highlighted row is a choice; the view's current row alone is not
    // (it may sit on the first row while no entry is shown).
    const QModelIndex index = view()->currentIndex();
    const int row = view()->selectionModel()->isSelected(index) ? index.row() : currentIndex();
    hidePopup();
    if (row == currentIndex())
        return;
    setCurrentIndex(row);
    emit OnChange();
}

// --- focus ----------------------------------------------------------------

void TConfirmComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    if (!m_presence.Enter())
        return;
    m_confirmPending = false;
    m_savedIndex = currentIndex();
    emit OnEnter();
}

void TConfirmComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The focus moving into the control's own open list is no exit.
    const QWidget* focused = QApplication::focusWidget();
    if (focused && focused->window() == view()->window())
        return;
    if (!m_presence.Leave(event->reason()))
        return;
    if (IsListOpen())
        hidePopup();
    emit OnExit();
}
