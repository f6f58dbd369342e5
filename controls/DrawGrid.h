#pragma once

// TDrawGrid is a table whose cells its owner paints: a number of columns and
// rows, the first FixedCols columns and FixedRows rows fixed (headers that
// never take the selection), a width per column and a height per row, grid
// lines of GridLineWidth pixels after every cell, a current cell with a
// selection that can span a range of cells, and an optional in-place editor.
// It has no scroll bars: the cells start at the top-left corner of the widget.
//
// Keys: the arrows move the current cell within the data cells (with Shift and
// goRangeSelect they extend the selection); with goEditing, F2, Return or a
// typed character open the editor. Mouse: a press on a data cell makes it
// current, dragging with goRangeSelect selects a range, a double-click on a
// data cell opens the editor with goEditing. The editor closes with Return
// (its text, when changed, is handed to SetEditText), Escape (dropped), an
// arrow or the focus leaving it (handed on as with Return).

#include <QColor>
#include <QFlags>
#include <QRect>
#include <QVector>
#include <QWidget>

class QLineEdit;

class TDrawGrid : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(TGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor FixedColor READ FixedColor WRITE SetFixedColor)

public:
    enum TGridOption {
        goFixedVertLine = 0x01,
        goFixedHorzLine = 0x02,
        goVertLine = 0x04,
        goHorzLine = 0x08,
        goRangeSelect = 0x10,
        goDrawFocusSelected = 0x20,
        goEditing = 0x40
    };
    Q_DECLARE_FLAGS(TGridOptions, TGridOption)
    Q_FLAG(TGridOptions)

    enum TGridDrawStateFlag { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
    Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)

    explicit TDrawGrid(QWidget* parent = nullptr);
    ~TDrawGrid() override;

    int ColCount() const { return int(m_colWidths.size()); }
    void SetColCount(int count);
    int RowCount() const { return int(m_rowHeights.size()); }
    void SetRowCount(int count);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);

    int DefaultColWidth() const { return m_defaultColWidth; }
    // Gives every column the new default width.
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int ColWidth(int col) const { return m_colWidths.value(col); }
    void SetColWidth(int col, int width);
    int RowHeight(int row) const { return m_rowHeights.value(row); }
    void SetRowHeight(int row, int height);
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int width);
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool on);
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions options);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(const QColor& color);

    // The current cell.
    int Col() const { return m_current.x(); }
    int Row() const { return m_current.y(); }
    // Makes the data cell current and the only one selected.
    void SetCurrent(int col, int row);
    // The selected cells in grid coordinates (left, top, right and bottom included).
    QRect Selection() const { return QRect(m_anchor, m_current).normalized(); }
    // Selects a range of data cells; the current cell becomes its bottom-right corner.
    void SetSelection(const QRect& cells);

    // The cell's rectangle in client coordinates, its width and height those of
    // the cell (the grid line after it not included); empty outside the grid.
    QRect CellRect(int col, int row) const;
    // The cell under the point, or (-1, -1); a grid line counts with the cell before it.
    QPoint MouseCoord(QPoint point) const;

    bool EditorMode() const;
    // Opens the editor on the current cell when CanEditShow allows it.
    void ShowEditor();
    // Closes the editor; keep hands its text to SetEditText when it changed.
    void HideEditor(bool keep);
    QLineEdit* InplaceEditor() const { return m_editor; }

signals:
    // Raised for every cell painted, after its background and before the
    // owner's own drawing; the painter is clipped to the cell.
    void OnDrawCell(QPainter* canvas, int col, int row, const QRect& rect, TGridDrawState state);

protected:
    // Paints one cell; the background is painted already (with DefaultDrawing).
    // The base raises OnDrawCell.
    virtual void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state);
    // After the widths or heights changed, and after the counts changed.
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    // Whether the editor may open, its text when it opens, and what becomes of
    // its text when it closes and is kept.
    virtual bool CanEditShow() const;
    virtual QString GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const QString& text);

    // The sizes along one direction (column widths for Qt::Horizontal, row
    // heights for Qt::Vertical), set at once.
    const QVector<int>& Sizes(Qt::Orientation direction) const;
    void SetSizes(Qt::Orientation direction, const QVector<int>& sizes);
    // The width of the grid line after each cell in that direction: the line
    // width when lines are drawn that way (fixed or not), else 0.
    int LineWidth(Qt::Orientation direction) const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Sets the column (Qt::Horizontal) or row count; new ones take the default size.
    void SetCount(Qt::Orientation direction, int count);
    bool IsDataCell(int col, int row) const;
    // Moves the current cell, kept within the data cells; extend keeps the
    // other corner of the selection.
    void MoveCurrent(int col, int row, bool extend);
    void ClampSelection();
    int Offset(Qt::Orientation direction, int index) const;
    void DrawLines(QPainter& canvas) const;

    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    QVector<int> m_colWidths;
    QVector<int> m_rowHeights;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_gridLineWidth = 1;
    bool m_defaultDrawing = true;
    TGridOptions m_options = TGridOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    QColor m_color;
    QColor m_fixedColor;
    QPoint m_current{1, 1};
    QPoint m_anchor{1, 1};
    bool m_selecting = false;

    QLineEdit* m_editor; // a child of the grid
    QPoint m_editCell{-1, -1};
    QString m_editedText;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TDrawGrid::TGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDrawGrid::TGridDrawState)
