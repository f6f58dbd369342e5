#include "controls/OrvLabel.h"

#include "controls/NumberFormat.h"
#include "items/OrvPacketData.h"
#include "link/WindowMessage.h"

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

bool IsVectorItem(const TOrvSerialData* item)
{
    return item->SerialDataType() == TOrvSerialData::KindVector;
}

} // namespace

void TOrvLabel::SetValue(TOrvSerialData* item)
{
    if (item && !IsOrvPacketData(item) && !IsVectorItem(item))
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
    if (m_value && IsVectorItem(m_value.Get())) {
        setText(m_vectorText);
    } else if (IsValueStyle()) {
        setText(FormatDataNumber(m_labelValue, m_dataFormat));
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
    }
    RenewText();
}
