#include "controls/ValueEditEx.h"

#include "controls/ErrorSound.h"
#include "controls/FocusChain.h"
#include "controls/KeyInput.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

#include <QKeyEvent>
#include <cmath>

namespace {

constexpr int InitialWidth = 96;
// Border allowance of a framed one-line field over the font's text height.
constexpr int HeightAllowance = 8;

} // namespace

TValueEditEx::TValueEditEx(QWidget* parent) : QLineEdit(parent), m_resizer(new TResizer(this, this))
{
    SetupInternalLabel();
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AdjustHeight();
    resize(InitialWidth, height());
    setText(QStringLiteral("0"));
}

TValueEditEx::~TValueEditEx()
{
    delete m_label;
}

void TValueEditEx::SetupInternalLabel()
{
    if (!m_label)
        m_label = new TChildLabel(this);
}

// --- height ---------------------------------------------------------------

void TValueEditEx::AdjustHeight()
{
    const int h = fontMetrics().height() + HeightAllowance;
    if (m_autoSize && hasFrame())
        setFixedHeight(h);
    else
        resize(width(), h);
}

void TValueEditEx::UpdateHeight()
{
    if (m_autoSize && hasFrame()) {
        AdjustHeight();
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void TValueEditEx::SetAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    UpdateHeight();
}

void TValueEditEx::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_autoSize)
        AdjustHeight();
}

// --- item -----------------------------------------------------------------

void TValueEditEx::ShowNumber(double value)
{
    // Setting the same text again would drop the selection.
    const QString shown = GeneralNumberText(value);
    if (shown != text())
        setText(shown);
}

void TValueEditEx::ShowItemValue()
{
    ShowNumber(m_value->GetDouble());
}

bool TValueEditEx::InitData()
{
    if (!m_value)
        return true;
    double value = 0;
    const bool read = ReadItemAgain(*m_value.Get(), &value);
    ShowNumber(value);
    return read;
}

bool TValueEditEx::AcquireValue()
{
    if (!m_value)
        return false;
    double number = 0;
    if (!ParseNumberText(text(), number)) {
        double current = 0;
        m_value->GetData(&current);
        ShowNumber(current);
        return false;
    }
    return m_value->SetData(number);
}

bool TValueEditEx::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        HandleMessage(*message);
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && IsSwallowedShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void TValueEditEx::HandleMessage(const TWindowMessage& message)
{
    switch (message.message()) {
    case WindowMessage::WMDataChanged:
        DataChanged();
        break;
    case WindowMessage::WMDataAvailable:
        if (m_value) {
            TakeLiveValue(*m_value.Get(), message.wParam());
            DataChanged();
        }
        break;
    case WindowMessage::WMComError:
        if (message.lParam() & LinkError::NoValue) {
            RefreshDataDefinitionAspect(false);
            m_dataDefined = false;
        }
        break;
    default:
        break;
    }
}

void TValueEditEx::DataChanged()
{
    if (!m_value)
        return;
    ShowItemValue();
    RefreshDataDefinitionAspect(true);
    m_dataDefined = true;
}

// --- data-defined aspect ----------------------------------------------------

void TValueEditEx::RefreshDataDefinitionAspect(bool defined)
{
    switch (m_aspect) {
    case ddInvisible:
        setVisible(defined);
        setEnabled(true);
        break;
    case ddDisabled:
        setVisible(true);
        setEnabled(defined);
        break;
    case ddNone:
        break;
    }
}

void TValueEditEx::SetDataNotDefinedAspect(TDataDefinedAspect aspect)
{
    if (aspect == m_aspect)
        return;
    if (aspect == ddNone) {
        RefreshDataDefinitionAspect(true);
        m_aspect = ddNone;
        return;
    }
    m_aspect = aspect;
    RefreshDataDefinitionAspect(m_dataDefined);
}

// --- focus ----------------------------------------------------------------

void TValueEditEx::FocusNextControl()
{
    if (!FocusIfPossible(m_nextControl))
        focusNextPrevChild(true);
}

void TValueEditEx::FocusPrevControl()
{
    if (!FocusIfPossible(m_prevControl))
        focusNextPrevChild(false);
}

void TValueEditEx::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!m_presence.Enter())
        return;
    emit OnEnter();
    selectAll();
}

void TValueEditEx::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_presence.Leave(event->reason()))
        return;
    // With Validation, typing that was not confirmed with Return is discarded.
    if (m_validation && m_value)
        ShowItemValue();
    else
        AcquireValue();
    emit OnExit();
}

// --- keys -----------------------------------------------------------------

void TValueEditEx::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (key == Qt::Key_Escape) {
        if (m_value)
            ShowItemValue();
        selectAll();
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && m_arrowMoveFocus) {
        if (key == Qt::Key_Up)
            FocusPrevControl();
        else
            FocusNextControl();
        key = 0;
    }
    emit OnKeyDown(key, event->modifiers());
    if (key == 0)
        return;

    const QChar typed = TypedCharacter(event);
    if (typed.isNull())
        QLineEdit::keyPressEvent(event);
    else
        FilterCharacter(typed, event);
}

void TValueEditEx::FilterCharacter(QChar typed, QKeyEvent* event)
{
    if ((typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) || typed == QChar(KeyChar::Backspace))
        return Insert(typed, event);

    const QChar separator = DecimalSeparator();
    if (IsSeparatorKey(typed)) {
        typed = separator;
        if (text().contains(separator) && !selectedText().contains(separator))
            return; // a second separator
    }
    if (typed == separator) {
        if (DecimalAllowed())
            return Insert(typed, event);
    } else if (typed == QLatin1Char('-')) {
        if (MinusAllowed())
            return Insert(typed, event);
    } else if (typed == QChar(KeyChar::Return)) {
        Confirm();
    } else if (typed == QChar(KeyChar::Escape)) {
        event->ignore(); // left to the window (a dialog closes on Escape)
    }
}

void TValueEditEx::Insert(QChar character, QKeyEvent* event)
{
    emit OnKeyPress(character);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), QString(character));
    QLineEdit::keyPressEvent(&typed);
}

bool TValueEditEx::DecimalAllowed() const
{
    if (!m_value)
        return true;
    // A step with a fractional part (0.01, 0.5) or no step at all allows a
    // decimal part; a whole step (1, 10) does not.
    const double step = m_value->Precision();
    return step == 0 || std::floor(step) != step;
}

bool TValueEditEx::MinusAllowed() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    if (start != 0)
        return false;
    if (!m_value)
        return true;
    const double min = m_value->ValueMin();
    const bool negativeAllowed = min < 0 || (min == 0 && m_value->ValueMax() == 0);
    return negativeAllowed && (!text().contains(QLatin1Char('-')) || selectedText().contains(QLatin1Char('-')));
}

void TValueEditEx::Confirm()
{
    if (AcquireValue()) {
        FocusNextControl();
        return;
    }
    TErrorSound::Play();
    if (m_value)
        ShowItemValue();
    selectAll();
}
