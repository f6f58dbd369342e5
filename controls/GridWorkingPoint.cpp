#include "controls/GridWorkingPoint.h"

#include "controls/OrvGrid.h"

TGridWorkingPoint::TGridWorkingPoint(TOrvGrid* table)
    : QObject(table), m_horizontal(table), m_vertical(table), m_table(table)
{
    setObjectName(QStringLiteral("Point"));
}

void TGridWorkingPoint::Repaint() const
{
    m_table->update();
}

void TGridWorkingPoint::SetEnabled(bool on)
{
    m_enabled = on;
    Repaint();
}

void TGridWorkingPoint::SetVisible(bool on)
{
    m_visible = on;
    Repaint();
}

void TGridWorkingPoint::SetColor(const QColor& color)
{
    m_color = color;
    Repaint();
}

void TGridWorkingPoint::SetDimension(int radius)
{
    m_dimension = radius;
    Repaint();
}

void TGridWorkingPoint::SetShowActiveRef(bool on)
{
    m_showActiveRef = on;
    Repaint();
}

void TGridWorkingPoint::SetActiveRefColor(const QColor& color)
{
    m_activeRefColor = color;
    Repaint();
}

void TGridWorkingPoint::SetCustomDrawing(bool on)
{
    m_customDrawing = on;
    Repaint();
}

void TGridWorkingPoint::SetGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    Repaint();
}

QRect TGridWorkingPoint::Extent(QPoint centre) const
{
    if (m_customDrawing && !m_glyph.isNull()) {
        QRect glyph(QPoint(), m_glyph.deviceIndependentSize().toSize());
        glyph.moveCenter(centre);
        return glyph;
    }
    // The circle's outline lies on its bounding square's edges.
    return QRect(centre.x() - m_dimension, centre.y() - m_dimension, 2 * m_dimension + 1,
                 2 * m_dimension + 1);
}
