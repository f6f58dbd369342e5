#include "controls/OrvLabel.h"

#include "controls/NumberFormat.h"
#include "items/OrvPacketData.h"
#include "items/OrvVector.h"
#include "items/Rounding.h"
#include "link/WindowMessage.h"

#include <QByteArray>

TOrvLabel::TOrvLabel(QWidget* parent)
    : QLabel(parent), m_label(new TChildLabel(this)), m_resizer(new TResizer(this, this))
{
    m_onColor = m_offColor = palette().color(QPalette::WindowText);
    RenewText();
}

TOrvLabel::~TOrvLabel()
{
    delete m_label;
}

namespace {

// The vector's elements read as character codes (the low byte of each, rounded),
// up to the first element that is 0 or cannot be read.
QString TextOfElements(TOrvVector& vector)
{
    QByteArray codes;
    for (int i = 0; i < vector.ArrayDimension(); ++i) {
        double value = 0;
        if (!vector.GetData(&value, unsigned(i)))
            break;
        const char code = char(TruncToInt(value + 0.5) & 0xFF);
        if (code == 0)
            break;
        codes += code;
    }
    return QString::fromLatin1(codes);
}

} // namespace

void TOrvLabel::SetValue(TOrvSerialData* item)
{
    if (item && !IsOrvPacketData(item) && !qobject_cast<TOrvVector*>(item))
        return;
    m_value.Set(item);
}

void TOrvLabel::SetStyle(TLabelStyle style)
{
    m_style = style;
    if (style == lsValue || style == lsFlag) {
        delete m_label;
    } else if (!m_label) {
        m_label = new TChildLabel(this);
        if (parentWidget())
            m_label->setVisible(!isHidden());
    }
    RenewText();
}

void TOrvLabel::SetOnText(const QString& text)
{
    m_onText = text;
    RenewText();
}

void TOrvLabel::SetOffText(const QString& text)
{
    m_offText = text;
    RenewText();
}

void TOrvLabel::SetOnColor(const QColor& color)
{
    m_onColor = color;
    RenewText();
}

void TOrvLabel::SetOffColor(const QColor& color)
{
    m_offColor = color;
    RenewText();
}

void TOrvLabel::SetState(bool state)
{
    m_state = state;
    RenewText();
}

void TOrvLabel::SetDataFormat(const QString& format)
{
    m_dataFormat = format;
    RenewText();
}

void TOrvLabel::SetFontColor(const QColor& color)
{
    QPalette changed = palette();
    changed.setColor(QPalette::WindowText, color);
    setPalette(changed);
}

void TOrvLabel::RenewText()
{
    if (qobject_cast<TOrvVector*>(m_value.Get())) {
        setText(m_vectorText);
    } else if (IsValueStyle()) {
        // A live value that has not arrived is no reading: nothing is shown.
        const auto* packet = qobject_cast<TOrvPacketData*>(m_value.Get());
        setText(packet && !packet->HasValue() ? QString() : FormatDataNumber(m_labelValue, m_dataFormat));
    } else {
        SetFontColor(m_state ? m_onColor : m_offColor);
        setText(m_state ? m_onText : m_offText);
    }
}

bool TOrvLabel::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMDataChanged)
            DataChanged();
        return true;
    }
    return QLabel::event(event);
}

void TOrvLabel::DataChanged()
{
    if (auto* packet = qobject_cast<TOrvPacketData*>(m_value.Get())) {
        if (IsValueStyle())
            m_labelValue = packet->GetDouble();
        else
            m_state = packet->GetInt() != 0;
    } else if (auto* vector = qobject_cast<TOrvVector*>(m_value.Get())) {
        m_vectorText = TextOfElements(*vector);
    }
    RenewText();
}
