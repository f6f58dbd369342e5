#include "controls/GridReference.h"

#include "controls/OrvGrid.h"
#include "link/WindowMessage.h"

TGridReference::TGridReference(TOrvGrid* table, const QString& name)
    : QObject(table),
      m_table(table), m_msgStrings{QStringLiteral("Caption=Modifica riferimenti"),
                                   QStringLiteral("ButtonOk=&OK"),
                                   QStringLiteral("ButtonCancel=&Annulla"),
                                   QStringLiteral("RefLabel=Riferimento"),
                                   QStringLiteral("RefTitle=Riferimenti"),
                                   QStringLiteral("SortError=I riferimenti devono essere oridinati!")}
{
    setObjectName(name);
}

void TGridReference::Repaint() const
{
    m_table->update();
}

void TGridReference::SetDescriptions(const QStringList& descriptions)
{
    m_descriptions = descriptions;
    Repaint();
}

void TGridReference::SetDataFormat(const QString& format)
{
    m_dataFormat = format;
    Repaint();
}

void TGridReference::SetType(TGridRefType type)
{
    m_type = type;
    Repaint();
}

void TGridReference::SetData(TOrvVector* vector)
{
    m_data.Set(vector);
    Repaint();
}

void TGridReference::SetVisible(bool visible)
{
    m_visible = visible;
    m_table->Refresh();
}

void TGridReference::SetMsgStrings(const QStringList& texts)
{
    m_msgStrings = texts;
    Repaint();
}

void TGridReference::SetSortType(TRefSortType type)
{
    m_sortType = type;
    Repaint();
}

void TGridReference::SetAlignment(TChildLabel::TAlignment alignment)
{
    m_alignment = alignment;
    Repaint();
}

bool TGridReference::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMDataChanged)
            Repaint();
        return true;
    }
    return QObject::event(event);
}
