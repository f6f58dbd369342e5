#include "controls/ValueEditEx.h"

#include "controls/ErrorSound.h"
#include "controls/FocusChain.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

#include <QFocusEvent>

namespace {

constexpr int InitialWidth = 96;
// Border allowance of a framed one-line field over the font's text height.
constexpr int HeightAllowance = 8;

} // namespace

TValueEditEx::TValueEditEx(QWidget* parent) : TNumberField(parent), m_resizer(new TResizer(this, this))
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
    TNumberField::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_autoSize)
        AdjustHeight();
}

// --- item -----------------------------------------------------------------

void TValueEditEx::ShowNumber(double value)
{
    ShowText(GeneralNumberText(value));
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
    return TNumberField::event(event);
}

void TValueEditEx::HandleMessage(const TWindowMessage& message)
{
    if (TakeItemMessage(m_value.Get(), message)) {
        DataChanged();
    } else if (message.message() == WindowMessage::WMComError && (message.lParam() & LinkError::NoValue)) {
        RefreshDataDefinitionAspect(false);
        m_dataDefined = false;
    }
}

void TValueEditEx::DataChanged()
{
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
    if (!FocusIfPossible(NextControl()))
        focusNextPrevChild(true);
}

void TValueEditEx::FocusPrevControl()
{
    if (!FocusIfPossible(PrevControl()))
        focusNextPrevChild(false);
}

void TValueEditEx::focusInEvent(QFocusEvent* event)
{
    TNumberField::focusInEvent(event);
    if (!m_presence.Enter())
        return;
    emit OnEnter();
    selectAll();
}

void TValueEditEx::focusOutEvent(QFocusEvent* event)
{
    TNumberField::focusOutEvent(event);
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

bool TValueEditEx::KeyDownUsed(int key)
{
    switch (key) {
    case Qt::Key_Escape: {
        // An Escape that undid typing is used up; the next one reaches the window.
        const QString typed = text();
        if (m_value)
            ShowItemValue();
        selectAll();
        return text() != typed;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!m_arrowMoveFocus)
            return false;
        if (key == Qt::Key_Up)
            FocusPrevControl();
        else
            FocusNextControl();
        return true;
    default:
        return false;
    }
}

double TValueEditEx::Step() const
{
    return m_value ? m_value->Precision() : 0;
}

bool TValueEditEx::NegativeAllowed() const
{
    if (!m_value)
        return true;
    const double min = m_value->ValueMin();
    return min < 0 || (min == 0 && m_value->ValueMax() == 0);
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
