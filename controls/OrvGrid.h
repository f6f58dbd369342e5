#pragma once

// TOrvGrid shows and edits a map of the unit, a matrix item, as a table: one
// data cell per element, a header row with the column axis's breakpoints
// (ColReferences) and a header column with the row axis's (RowReferences), and
// the matrix's unit of measure in the corner. The user changes a range of cells
// through the modify dialog (Return or a double-click on a data cell: set, add,
// or scale by a percentage), the breakpoints of an axis through the breakpoint
// dialog (a double-click on its header), or one cell in place when the
// goEditing option is on. A live working point (WorkingPoint), placed by two
// live values, is marked inside the table and highlights the header cells of
// its column and row.
//
// With AutoSize the columns and rows fill the client area: a new count shares
// it out equally, a changed width or height makes the table fit around its
// cells, a new table size scales the cells, and while the resizer drags the
// table the cells keep their proportions. No cell gets narrower or lower than
// 5 pixels; the table grows instead.
//
// The grid runs its dialogs through RunDialog, which tests replace.

#include "controls/ChildLabel.h"
#include "controls/DrawGrid.h"
#include "controls/FocusLinks.h"
#include "controls/ItemLink.h"
#include "controls/Resizer.h"
#include "items/OrvMatrix.h"

#include <QPointer>
#include <QStringList>
#include <functional>

class TFormModMappa;
class TGridReference;
class TGridWorkingPoint;
class TWindowMessage;

class TOrvGrid : public TDrawGrid, public TFocusLinks {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool ArrowMoveFocus READ ArrowMoveFocus WRITE SetArrowMoveFocus)
    Q_PROPERTY(TResizer* Resizer READ Resizer CONSTANT)
    Q_PROPERTY(TChildLabel::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TOrvMatrix* Data READ Data WRITE SetData)
    Q_PROPERTY(QString DataFormat READ DataFormat WRITE SetDataFormat)
    Q_PROPERTY(TGridReference* ColReferences READ ColReferences CONSTANT)
    Q_PROPERTY(TGridReference* RowReferences READ RowReferences CONSTANT)
    Q_PROPERTY(QStringList MsgStrings READ MsgStrings WRITE SetMsgStrings)
    Q_PROPERTY(TGridWorkingPoint* WorkingPoint READ WorkingPoint CONSTANT)
    Q_PROPERTY(int ColNo READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowNo READ RowCount WRITE SetRowCount)

public:
    // The kinds of range change.
    enum ModifyMode { mmAbsolute, mmRelative, mmPercentage };

    // Runs a dialog modally and answers its result (QDialog::Accepted for OK).
    using TDialogRunner = std::function<int(QDialog& dialog)>;

    explicit TOrvGrid(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    // Switching it on fills the client area at once.
    void SetAutoSize(bool on);
    // Up on the first data row and Down on the last row leave the table.
    bool ArrowMoveFocus() const { return m_arrowMoveFocus; }
    void SetArrowMoveFocus(bool on) { m_arrowMoveFocus = on; }
    TResizer* Resizer() const { return m_resizer; }
    TChildLabel::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TChildLabel::TAlignment alignment);
    TOrvMatrix* Data() const { return m_data.Get(); }
    // Binds the map and counts the table after it.
    void SetData(TOrvMatrix* matrix);
    QString DataFormat() const { return m_dataFormat; }
    void SetDataFormat(const QString& format);
    TGridReference* ColReferences() const { return m_colReferences; }
    TGridReference* RowReferences() const { return m_rowReferences; }
    // The texts of the modify dialog, name=value lines.
    QStringList MsgStrings() const { return m_msgStrings; }
    void SetMsgStrings(const QStringList& texts);
    TGridWorkingPoint* WorkingPoint() const { return m_workingPoint; }

    // Counts the columns and rows after the matrix and the axes' visibility.
    void Refresh();
    // The text a cell shows.
    QString CellText(int col, int row);

    // The modify dialog for the selected cells, and the change it asks for:
    // one write per cell, from the top row down and left to right, each cell
    // repainted as it is written.
    void EditValoriMappa();
    void ModificaValoriMappa(double value, ModifyMode mode);
    // Gives the modify dialog (once it exists) the texts of MsgStrings.
    void InitModifyDialog();
    // The breakpoint dialog of the column axis (columns true) or the row axis.
    void EditRiferimentiMappa(bool columns);

    // Sets the working point on the column axis (which 1) or the row axis
    // (any other) and places it.
    void SetCursorPosition(int which, double value);
    // Finds the working point's active column and row and its marker's pixel
    // position, and repaints what moved.
    void CalcolaCoordinateWorkPoint();
    // The map's value at the working point: along each axis that shows
    // breakpoints, the interpolation between the active element and its
    // neighbour towards the point; the mean of the axes' values.
    double GetInterpolatedValue();
    double PointX() const { return m_pointX; }
    double PointY() const { return m_pointY; }
    int MarkerX() const { return m_markerX; }
    int MarkerY() const { return m_markerY; }
    int ActiveCol() const { return m_activeCol; }
    int ActiveRow() const { return m_activeRow; }

    // The proportions the cells keep while the resizer drags the table.
    void StoreColProportions();
    void StoreRowProportions();
    void DeleteColProportions() { m_colProportions.clear(); }
    void DeleteRowProportions() { m_rowProportions.clear(); }
    // Scale the cells to the client area.
    void ExpandColWidths();
    void ExpandRowHeights();
    // keep: the table fits around its cells; otherwise the cells share the
    // client area by their proportions, or equally.
    virtual void AdjustColWidths(bool keepWidths);
    virtual void AdjustRowHeights(bool keepHeights);

    void FocusNextControl();
    void FocusPrevControl();

    TDialogRunner RunDialog;

protected:
    void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    bool CanEditShow() const override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& text) override;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // How a fit shares out the client area.
    enum class Fit { Keep, Share, Scale };

    struct CellContent {
        QString text;
        TChildLabel::TAlignment alignment;
    };

    void HandleMessage(const TWindowMessage& message);
    // Counts the table for a map of dataCols × dataRows (the counts stay
    // without a map, dataCols 0) and the axes' visibility.
    void Recount(int dataCols, int dataRows);
    void ChangeDataDim(intptr_t cols, intptr_t rows);
    void FollowWorkingPoint();
    int Run(QDialog& dialog);
    // The element's user value, or 0 when it cannot be read.
    double CellValue(int row, int col);
    CellContent ContentOf(int col, int row);
    QString HeaderText(const TGridReference& axis, int index) const;
    void DrawText(QPainter& canvas, const QRect& rect, const CellContent& content) const;
    bool MarkerShown() const;
    void DrawMarker(QPainter& canvas) const;
    // The map's value at the point along the active row (columns true) or
    // the active column.
    double InterpolateAlong(const TGridReference& axis, double point, bool columns);
    void RepaintActiveHeaders(int oldCol, int oldRow);
    void PlaceMarkerAtFirstCell();

    void FitCells(Qt::Orientation direction, Fit fit);
    void StoreProportions(Qt::Orientation direction);
    int ClientExtent(Qt::Orientation direction) const;
    void SetClientExtent(Qt::Orientation direction, int extent);
    QVector<double>& Proportions(Qt::Orientation direction);

    bool m_arrowMoveFocus = true;
    bool m_autoSize = true;
    bool m_fitting = false;
    QPointer<TResizer> m_resizer;
    TGridReference* m_colReferences;
    TGridReference* m_rowReferences;
    TItemLink<TOrvMatrix> m_data{this};
    QStringList m_msgStrings;
    QPointer<TFormModMappa> m_modifyDialog;
    TGridWorkingPoint* m_workingPoint;
    QVector<double> m_colProportions;
    QVector<double> m_rowProportions;
    TChildLabel::TAlignment m_alignment = TChildLabel::taCenter;
    QString m_dataFormat;
    double m_pointX = 0;
    double m_pointY = 0;
    double m_previousX = 0;
    double m_previousY = 0;
    int m_skipCount = 0;
    int m_markerX = 0;
    int m_markerY = 0;
    int m_activeCol = 0;
    int m_activeRow = 0;
    bool m_sizingByResizer = false;
};
