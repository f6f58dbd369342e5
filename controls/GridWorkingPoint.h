#pragma once

// TGridWorkingPoint holds the settings of the map grid's live working point
// ("Point"): the two live values that place it (HorizontalPosition on the
// column axis, VerticalPosition on the row axis), whether the grid follows them
// (Enabled), and how it shows the point: a marker (Visible), a circle of radius
// Dimension in Color or, with CustomDrawing, the Glyph centred on the point,
// and the header cells of the active column and row filled with ActiveRefColor
// (ShowActiveRef). Setting a position enters the grid itself in that item's
// notification list; every other setter repaints the grid.

#include "controls/ItemLink.h"
#include "items/OrvPacketData.h"

#include <QColor>
#include <QObject>
#include <QPixmap>

class TOrvGrid;

class TGridWorkingPoint : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Dimension READ Dimension WRITE SetDimension)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool ShowActiveRef READ ShowActiveRef WRITE SetShowActiveRef)
    Q_PROPERTY(QColor ActiveRefColor READ ActiveRefColor WRITE SetActiveRefColor)
    Q_PROPERTY(bool CustomDrawing READ CustomDrawing WRITE SetCustomDrawing)
    Q_PROPERTY(QPixmap Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(TOrvPacketData* HorizontalPosition READ HorizontalPosition WRITE SetHorizontalPosition)
    Q_PROPERTY(TOrvPacketData* VerticalPosition READ VerticalPosition WRITE SetVerticalPosition)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    // The working point of the table, which owns it; named "Point".
    explicit TGridWorkingPoint(TOrvGrid* table);

    TOrvPacketData* HorizontalPosition() const { return m_horizontal.Get(); }
    void SetHorizontalPosition(TOrvPacketData* item) { m_horizontal.Set(item); }
    TOrvPacketData* VerticalPosition() const { return m_vertical.Get(); }
    void SetVerticalPosition(TOrvPacketData* item) { m_vertical.Set(item); }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    bool Visible() const { return m_visible; }
    void SetVisible(bool on);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    int Dimension() const { return m_dimension; }
    void SetDimension(int radius);
    bool ShowActiveRef() const { return m_showActiveRef; }
    void SetShowActiveRef(bool on);
    QColor ActiveRefColor() const { return m_activeRefColor; }
    void SetActiveRefColor(const QColor& color);
    bool CustomDrawing() const { return m_customDrawing; }
    void SetCustomDrawing(bool on);
    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap& glyph);

    // The pixels the marker covers when centred on the point.
    QRect Extent(QPoint centre) const;

private:
    void Repaint() const;

    TItemLink<TOrvPacketData> m_horizontal;
    TItemLink<TOrvPacketData> m_vertical;
    bool m_enabled = false;
    bool m_visible = false;
    QColor m_color = Qt::red;
    int m_dimension = 10;
    TOrvGrid* m_table;
    bool m_showActiveRef = false;
    QColor m_activeRefColor = Qt::yellow;
    bool m_customDrawing = false;
    QPixmap m_glyph;
};
