#include "controls/NumberEditBase.h"

#include "controls/KeyInput.h"
#include "items/Rounding.h"
#include "support/NumberText.h"

#include <QFocusEvent>
#include <cmath>

TNumberEditBase::TNumberEditBase(QWidget* parent) : TNumberField(parent)
{
    setText(QStringLiteral("0"));
}

// --- numbers --------------------------------------------------------------

bool TNumberEditBase::LimitsApply() const
{
    return !m_disableLimit && (m_minValue != 0 || m_maxValue != 0);
}

double TNumberEditBase::Stepped(double value) const
{
    if (m_precision == 0)
        return value;
    const double down = std::floor(value / m_precision) * m_precision;
    const double up = std::ceil(value / m_precision) * m_precision;
    return value - down < up - value ? down : up;
}

void TNumberEditBase::Show(double value)
{
    ShowText(GeneralNumberText(value));
    m_lastValue = value;
}

double TNumberEditBase::GetDouble() const
{
    double value = 0;
    if (!ParseNumberText(text(), value))
        return m_lastValue;
    // Both limits hold whenever the limits are in use, a lower limit of 0
    // included, so that no value below it reaches the caller.
    if (LimitsApply())
        value = qBound(m_minValue, value, m_maxValue);
    return Stepped(value);
}

void TNumberEditBase::SetDouble(double value)
{
    if (LimitsApply() && (value < m_minValue || value > m_maxValue))
        Show(value < m_minValue ? m_minValue : m_maxValue);
    else
        Show(Stepped(value));
}

void TNumberEditBase::SetInt(int value)
{
    if (LimitsApply() && (value < m_minValue || value > m_maxValue)) {
        Show(value < m_minValue ? m_minValue : m_maxValue);
        return;
    }
    ShowText(QString::number(value));
    m_lastValue = value;
}

int TNumberEditBase::GetInt()
{
    bool isNumber = false;
    const int typed = text().trimmed().toInt(&isNumber);
    const int n = isNumber ? typed : TruncToInt(m_lastValue);
    bool rewritten = false;
    if (LimitsApply()) {
        const int max = TruncToInt(m_maxValue);
        const int min = TruncToInt(m_minValue);
        if (n > max || n < min) {
            SetInt(n > max ? max : min);
            rewritten = true;
        }
    }
    if (m_precision != 0) {
        SetInt(TruncToInt(m_precision * TruncToInt(n / m_precision)));
        rewritten = true;
    }
    // The caller gets the number the field now shows, never one beyond its rules.
    return rewritten ? TruncToInt(m_lastValue) : n;
}

double TNumberEditBase::GetLimit(int which) const
{
    return which == 1 ? m_maxValue : m_minValue;
}

void TNumberEditBase::SetLimit(int which, double value)
{
    if (which == 1 && value >= m_minValue)
        m_maxValue = value;
    else if (which == 2 && value <= m_maxValue)
        m_minValue = value;
}

// --- keys -----------------------------------------------------------------

bool TNumberEditBase::KeyDownUsed(int key)
{
    switch (key) {
    case Qt::Key_Escape: {
        // An Escape that undid typing is used up; the next one reaches the window.
        const QString typed = text();
        SetDouble(m_lastValue);
        selectAll();
        return text() != typed;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveFocusOn(key == Qt::Key_Down, false);
        return true;
    default:
        return false;
    }
}

bool TNumberEditBase::NegativeAllowed() const
{
    return m_disableLimit || m_minValue < 0 || (m_minValue == 0 && m_maxValue == 0);
}

void TNumberEditBase::Confirm()
{
    ShowText(GeneralNumberText(GetDouble()));
    m_lastValue = GetDouble();
    emit OnKeyPress(QChar(KeyChar::Return));
    MoveFocusOn(true, true);
}

// --- focus ----------------------------------------------------------------

void TNumberEditBase::focusInEvent(QFocusEvent* event)
{
    TNumberField::focusInEvent(event);
    if (!m_presence.Enter())
        return;
    double typed = 0;
    if (ParseNumberText(text(), typed))
        m_lastValue = typed;
    SetDouble(m_lastValue);
    emit OnEnter();
}

void TNumberEditBase::focusOutEvent(QFocusEvent* event)
{
    TNumberField::focusOutEvent(event);
    if (!m_presence.Leave(event->reason()))
        return;
    if (m_validation)
        SetDouble(m_lastValue);
    else
        Show(GetDouble());
    emit OnExit();
}
