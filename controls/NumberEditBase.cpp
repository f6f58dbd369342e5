#include "controls/NumberEditBase.h"

#include "controls/KeyInput.h"
#include "items/Rounding.h"
#include "support/NumberText.h"

#include <QKeyEvent>
#include <cmath>

TNumberEditBase::TNumberEditBase(QWidget* parent) : QLineEdit(parent)
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

void TNumberEditBase::ShowText(const QString& shown)
{
    // Setting the same text again would drop the selection.
    if (shown != text())
        setText(shown);
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

bool TNumberEditBase::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsSwallowedShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void TNumberEditBase::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (key == Qt::Key_Escape) {
        SetDouble(m_lastValue);
        selectAll();
    } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
        MoveFocusOn(key == Qt::Key_Down, false);
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

void TNumberEditBase::FilterCharacter(QChar typed, QKeyEvent* event)
{
    if ((typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) || typed == QChar(KeyChar::Backspace))
        return Insert(typed, event);

    const QChar separator = DecimalSeparator();
    if (typed == ThousandsSeparator() && typed != separator) {
        if (!ThousandsSeparatorTypesDecimal())
            return;
        typed = separator;
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

void TNumberEditBase::Insert(QChar character, QKeyEvent* event)
{
    emit OnKeyPress(character);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), QString(character));
    QLineEdit::keyPressEvent(&typed);
}

bool TNumberEditBase::DecimalAllowed() const
{
    // A step with a fractional part allows a decimal part, and so may no step.
    const bool stepAllows = m_precision == 0 ? DecimalWithoutStep() : std::floor(m_precision) != m_precision;
    const QChar separator = DecimalSeparator();
    return stepAllows && (!text().contains(separator) || selectedText().contains(separator));
}

bool TNumberEditBase::MinusAllowed() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const bool negativeAllowed = m_disableLimit || m_minValue < 0 || (m_minValue == 0 && m_maxValue == 0);
    return start == 0 && negativeAllowed &&
           (!text().contains(QLatin1Char('-')) || selectedText().contains(QLatin1Char('-')));
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
    QLineEdit::focusInEvent(event);
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
    QLineEdit::focusOutEvent(event);
    if (!m_presence.Leave(event->reason()))
        return;
    if (m_validation)
        SetDouble(m_lastValue);
    else
        Show(GetDouble());
    emit OnExit();
}
