#include "controls/OrvGrid.h"

#include "controls/AxisBand.h"
#include "controls/FocusChain.h"
#include "controls/FormModMappa.h"
#include "controls/FormRiferimenti.h"
#include "controls/GridReference.h"
#include "controls/GridWorkingPoint.h"
#include "controls/NumberFormat.h"
#include "controls/NumericEdit.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <cmath>
#include <numeric>

namespace {

// No column or row is made narrower or lower than this.
constexpr int MinimumSize = 5;
// A matrix has at most this many columns or rows.
constexpr intptr_t MaximumDimension = 255;
// Unchanged working points skipped before the marker is placed again.
constexpr int SkippedRepeats = 10;

// The first size takes what the others leave of the available extent, less
// one pixel, and at least MinimumSize. Answers the extent the sizes need:
// more than available when the first had to be raised.
int GiveFirstTheRest(QVector<int>& sizes, int available)
{
    const int others = std::accumulate(sizes.cbegin() + 1, sizes.cend(), 0);
    sizes[0] = available - others - 1;
    if (sizes[0] >= MinimumSize)
        return available;
    sizes[0] = MinimumSize;
    return others + MinimumSize + 1;
}

// The breakpoints a vector holds, as the unit last gave them.
QVector<double> BreakpointsOf(TOrvVector& vector)
{
    QVector<double> values(vector.ArrayDimension());
    vector.GetData(values.data());
    return values;
}

} // namespace

TOrvGrid::TOrvGrid(QWidget* parent)
    : TDrawGrid(parent), m_resizer(new TResizer(this, this)),
      m_colReferences(new TGridReference(this, QStringLiteral("Columns"))),
      m_rowReferences(new TGridReference(this, QStringLiteral("Rows"))),
      m_msgStrings{QStringLiteral("Caption=Modifica valori mappa"),
                   QStringLiteral("ButtonOk=&OK"),
                   QStringLiteral("ButtonCancel=&Annulla"),
                   QStringLiteral("GroupMode=Modalità"),
                   QStringLiteral("Mode1=A&ssoluta"),
                   QStringLiteral("Mode2=&Relativa"),
                   QStringLiteral("Mode3=&Percentuale")},
      m_workingPoint(new TGridWorkingPoint(this))
{
    m_resizer->SetResizingMode(m_resizer->ResizingMode() | TResizer::raVertical | TResizer::raCorner);
    SetOptions(Options() | goRangeSelect | goDrawFocusSelected);
    Refresh();
}

// --- settings ---------------------------------------------------------------

void TOrvGrid::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on) {
        AdjustColWidths(false);
        AdjustRowHeights(false);
    }
}

void TOrvGrid::SetAlignment(TChildLabel::TAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void TOrvGrid::SetData(TOrvMatrix* matrix)
{
    m_data.Set(matrix);
    Refresh();
}

void TOrvGrid::SetDataFormat(const QString& format)
{
    m_dataFormat = format;
    update();
}

void TOrvGrid::SetMsgStrings(const QStringList& texts)
{
    m_msgStrings = texts;
    InitModifyDialog();
}

void TOrvGrid::Refresh()
{
    Recount(m_data ? m_data->ColCount() : 0, m_data ? m_data->RowCount() : 0);
}

void TOrvGrid::Recount(int dataCols, int dataRows)
{
    // The row axis is the header column, the column axis the header row.
    const int fixedCols = m_rowReferences->Visible() ? 1 : 0;
    const int fixedRows = m_colReferences->Visible() ? 1 : 0;
    if (dataCols > 0) {
        SetColCount(dataCols + fixedCols);
        SetRowCount(dataRows + fixedRows);
    }
    SetFixedCols(fixedCols);
    SetFixedRows(fixedRows);
}

void TOrvGrid::ChangeDataDim(intptr_t cols, intptr_t rows)
{
    const int dataCols = int(qBound<intptr_t>(1, cols, MaximumDimension));
    const int dataRows = int(qBound<intptr_t>(1, rows, MaximumDimension));
    Recount(dataCols, dataRows);
    if (TOrvVector* vector = m_colReferences->Data(); vector && vector->ArrayDimension() != dataCols)
        vector->SetArrayDimension(dataCols);
    if (TOrvVector* vector = m_rowReferences->Data(); vector && vector->ArrayDimension() != dataRows)
        vector->SetArrayDimension(dataRows);
}

// --- messages ---------------------------------------------------------------

bool TOrvGrid::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        HandleMessage(*message);
        return true;
    }
    // Before the table is first shown in its window, as after loading it.
    if (event->type() == QEvent::Polish && parentWidget())
        PlaceMarkerAtFirstCell();
    return TDrawGrid::event(event);
}

void TOrvGrid::HandleMessage(const TWindowMessage& message)
{
    switch (message.message()) {
    case WindowMessage::WMDataChanged:
        if (m_data && message.wParam() == reinterpret_cast<uintptr_t>(m_data.Get()))
            update();
        FollowWorkingPoint();
        break;
    case WindowMessage::WMChangeDataDim:
        ChangeDataDim(intptr_t(message.wParam()), message.lParam());
        break;
    case WindowMessage::WMEndResizing:
        m_sizingByResizer = false;
        DeleteColProportions();
        DeleteRowProportions();
        break;
    case WindowMessage::WMStartResizing:
        m_sizingByResizer = true;
        StoreColProportions();
        StoreRowProportions();
        break;
    default:
        break;
    }
}

void TOrvGrid::FollowWorkingPoint()
{
    const TGridWorkingPoint& point = *m_workingPoint;
    if (!point.Enabled() || !(point.Visible() || point.ShowActiveRef()))
        return;
    if (TOrvPacketData* horizontal = point.HorizontalPosition())
        m_pointX = horizontal->GetDouble();
    if (TOrvPacketData* vertical = point.VerticalPosition())
        m_pointY = vertical->GetDouble();
    CalcolaCoordinateWorkPoint();
}

// --- painting ---------------------------------------------------------------

double TOrvGrid::CellValue(int row, int col)
{
    double value = 0;
    return m_data && m_data->GetData(&value, row, col) ? value : 0;
}

QString TOrvGrid::HeaderText(const TGridReference& axis, int index) const
{
    switch (axis.Type()) {
    case TGridReference::rtData: {
        double value = 0;
        if (TOrvVector* vector = axis.Data())
            vector->GetData(&value, unsigned(index));
        return FormatDataNumber(value, axis.DataFormat());
    }
    case TGridReference::rtStrings:
        return axis.Descriptions().value(index);
    case TGridReference::rtNone:
        break;
    }
    return QString();
}

TOrvGrid::CellContent TOrvGrid::ContentOf(int col, int row)
{
    const bool fixedCol = col < FixedCols();
    const bool fixedRow = row < FixedRows();
    if (fixedCol && fixedRow)
        return {m_data ? m_data->MeasureUnit() : QString(), m_alignment};
    if (fixedCol)
        return {HeaderText(*m_rowReferences, row - FixedRows()), m_rowReferences->Alignment()};
    if (fixedRow)
        return {HeaderText(*m_colReferences, col - FixedCols()), m_colReferences->Alignment()};
    return {FormatDataNumber(CellValue(row - FixedRows(), col - FixedCols()), m_dataFormat), m_alignment};
}

QString TOrvGrid::CellText(int col, int row)
{
    return ContentOf(col, row).text;
}

void TOrvGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state)
{
    TDrawGrid::DrawCell(canvas, col, row, rect, state);
    if (!DefaultDrawing())
        return;
    const bool fixedCol = col < FixedCols();
    const bool fixedRow = row < FixedRows();
    if (fixedCol != fixedRow) {
        const TGridReference& axis = fixedCol ? *m_rowReferences : *m_colReferences;
        const int index = fixedCol ? row - FixedRows() : col - FixedCols();
        const int active = fixedCol ? m_activeRow : m_activeCol;
        if (m_workingPoint->ShowActiveRef() && axis.Type() == TGridReference::rtData && index == active)
            canvas.fillRect(rect, m_workingPoint->ActiveRefColor());
    } else if (!fixedCol && state & gdSelected && !hasFocus()) {
        // The selection shows only while the table has the focus.
        canvas.fillRect(rect, Color());
        canvas.setPen(palette().color(QPalette::Text));
        canvas.setFont(font());
    }
    DrawText(canvas, rect, ContentOf(col, row));
}

void TOrvGrid::DrawText(QPainter& canvas, const QRect& rect, const CellContent& content) const
{
    const QFontMetrics metrics(canvas.font());
    const int width = metrics.horizontalAdvance(content.text);
    int left = rect.x() + (rect.width() - width) / 2;
    if (content.alignment == TChildLabel::taLeftJustify)
        left = rect.x() + 2;
    else if (content.alignment == TChildLabel::taRightJustify)
        left = rect.x() + rect.width() - width - 2;
    const int top = rect.y() + (rect.height() - metrics.height()) / 2;
    canvas.drawText(left, top + metrics.ascent(), content.text);
}

bool TOrvGrid::MarkerShown() const
{
    return m_workingPoint->Visible() && (m_colReferences->Type() == TGridReference::rtData ||
                                         m_rowReferences->Type() == TGridReference::rtData);
}

void TOrvGrid::DrawMarker(QPainter& canvas) const
{
    const TGridWorkingPoint& point = *m_workingPoint;
    const QPoint centre(m_markerX, m_markerY);
    if (point.CustomDrawing() && !point.Glyph().isNull()) {
        canvas.drawPixmap(point.Extent(centre).topLeft(), point.Glyph());
        return;
    }
    const int radius = point.Dimension();
    canvas.setPen(point.Color());
    canvas.setBrush(point.Color());
    canvas.drawEllipse(QRect(m_markerX - radius, m_markerY - radius, 2 * radius, 2 * radius));
}

void TOrvGrid::paintEvent(QPaintEvent* event)
{
    TDrawGrid::paintEvent(event);
    if (!MarkerShown())
        return;
    QPainter canvas(this);
    DrawMarker(canvas);
}

// --- keys and mouse ---------------------------------------------------------

void TOrvGrid::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!(Options() & goEditing))
            return EditValoriMappa(); // used up: a window's default button does not see it
        break;
    case Qt::Key_Up:
        if (!shift && m_arrowMoveFocus && Row() == FixedRows())
            return FocusPrevControl();
        break;
    case Qt::Key_Down:
        if (!shift && m_arrowMoveFocus && Row() == RowCount() - 1)
            return FocusNextControl();
        break;
    default:
        break;
    }
    TDrawGrid::keyPressEvent(event);
}

void TOrvGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    TDrawGrid::mouseDoubleClickEvent(event);
    const QPoint cell = MouseCoord(event->position().toPoint());
    if (event->button() != Qt::LeftButton || cell.x() < 0)
        return;
    const bool fixedCol = cell.x() < FixedCols();
    const bool fixedRow = cell.y() < FixedRows();
    if (fixedCol && fixedRow)
        return; // the corner
    if (fixedRow)
        EditRiferimentiMappa(true);
    else if (fixedCol)
        EditRiferimentiMappa(false);
    else if (!(Options() & goEditing))
        EditValoriMappa();
}

void TOrvGrid::FocusNextControl()
{
    if (!FocusIfPossible(NextControl()))
        focusNextPrevChild(true);
}

void TOrvGrid::FocusPrevControl()
{
    if (!FocusIfPossible(PrevControl()))
        focusNextPrevChild(false);
}

// --- editing ----------------------------------------------------------------

bool TOrvGrid::CanEditShow() const
{
    return TDrawGrid::CanEditShow() && !(m_data && m_data->ReadOnly());
}

QString TOrvGrid::GetEditText(int col, int row)
{
    double value = 0;
    if (!m_data || !m_data->GetData(&value, row - FixedRows(), col - FixedCols()))
        return QString();
    return FormatDataNumber(value, m_dataFormat);
}

void TOrvGrid::SetEditText(int col, int row, const QString& text)
{
    double value = 0;
    if (m_data && ParseNumberText(text, value))
        m_data->SetData(value, row - FixedRows(), col - FixedCols());
}

int TOrvGrid::Run(QDialog& dialog)
{
    return RunDialog ? RunDialog(dialog) : dialog.exec();
}

void TOrvGrid::InitModifyDialog()
{
    if (m_modifyDialog)
        m_modifyDialog->SetTexts(m_msgStrings);
}

void TOrvGrid::EditValoriMappa()
{
    if (!m_data || m_data->ReadOnly())
        return;
    if (!m_modifyDialog) {
        m_modifyDialog = new TFormModMappa(this);
        InitModifyDialog();
    }
    // One cell proposes its own value to set, a range 0 to add.
    const QRect cells = Selection();
    const bool single = cells.width() == 1 && cells.height() == 1;
    TNumericEdit* edit = m_modifyDialog->ValueEdit();
    edit->SetDouble(single ? CellValue(cells.top() - FixedRows(), cells.left() - FixedCols()) : 0);
    m_modifyDialog->SetMode(single ? mmAbsolute : mmRelative);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (Run(*m_modifyDialog) == QDialog::Accepted)
        ModificaValoriMappa(edit->GetDouble(), ModifyMode(m_modifyDialog->Mode()));
}

void TOrvGrid::ModificaValoriMappa(double value, ModifyMode mode)
{
    if (!m_data)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    repaint();
    const QRect cells = Selection();
    for (int r = cells.top(); r <= cells.bottom(); ++r) {
        for (int c = cells.left(); c <= cells.right(); ++c) {
            const int row = r - FixedRows();
            const int col = c - FixedCols();
            double written = value;
            if (mode != mmAbsolute) {
                double current = 0;
                if (!m_data->GetData(&current, row, col))
                    continue; // a cell that cannot be read is left alone
                written = mode == mmRelative ? current + value : current * (value * 0.01 + 1);
            }
            m_data->SetData(written, row, col);
            repaint(CellRect(c, r));
        }
    }
    QApplication::restoreOverrideCursor();
    repaint();
}

void TOrvGrid::EditRiferimentiMappa(bool columns)
{
    const TGridReference& axis = columns ? *m_colReferences : *m_rowReferences;
    TOrvVector* vector = axis.Breakpoints();
    if (!vector || vector->ReadOnly())
        return;
    TFormRiferimenti dialog(this);
    dialog.SetSortType(axis.SortType());
    dialog.SetTexts(axis.MsgStrings());
    QVector<double> values(vector->ArrayDimension());
    if (!vector->GetData(values.data()))
        values.fill(0);
    for (const double value : values)
        dialog.AddReference(value, vector->ValueMin(), vector->ValueMax(), vector->Precision());
    const QVector<double> shown = dialog.Values();
    if (Run(dialog) == QDialog::Accepted) {
        // Only what the user changed is written: a breakpoint shown as 0
        // because it could not be read keeps its value in the unit.
        const QVector<double> typed = dialog.Values();
        for (int k = 0; k < typed.size(); ++k) {
            if (typed[k] != shown[k])
                vector->SetData(typed[k], unsigned(k));
        }
    }
    update();
}

// --- working point ----------------------------------------------------------

void TOrvGrid::SetCursorPosition(int which, double value)
{
    (which == 1 ? m_pointX : m_pointY) = value;
    CalcolaCoordinateWorkPoint();
}

void TOrvGrid::PlaceMarkerAtFirstCell()
{
    const QRect first = CellRect(FixedCols(), FixedRows());
    m_markerX = first.x();
    m_markerY = first.y();
}

void TOrvGrid::CalcolaCoordinateWorkPoint()
{
    if (!m_colReferences->Data() && !m_rowReferences->Data())
        return;
    if (m_pointX == m_previousX && m_pointY == m_previousY && m_skipCount < SkippedRepeats) {
        ++m_skipCount;
        return;
    }
    m_previousX = m_pointX;
    m_previousY = m_pointY;
    m_skipCount = 0;
    const QRect oldExtent = m_workingPoint->Extent(QPoint(m_markerX, m_markerY));
    const int oldCol = m_activeCol;
    const int oldRow = m_activeRow;

    TOrvVector* colBreakpoints = m_colReferences->Breakpoints();
    TOrvVector* rowBreakpoints = m_rowReferences->Breakpoints();
    TAxisBand colBand, rowBand;
    if (colBreakpoints) {
        colBand = TAxisBand::Find(BreakpointsOf(*colBreakpoints), m_pointX);
        m_activeCol = colBand.index;
    }
    if (rowBreakpoints) {
        rowBand = TAxisBand::Find(BreakpointsOf(*rowBreakpoints), m_pointY);
        m_activeRow = rowBand.index;
    }
    const QRect cell = CellRect(m_activeCol + FixedCols(), m_activeRow + FixedRows());
    m_markerX = colBreakpoints ? colBand.Pixel(m_pointX, cell.x(), cell.x() + cell.width()) : cell.x();
    m_markerY = rowBreakpoints ? rowBand.Pixel(m_pointY, cell.y(), cell.y() + cell.height()) : cell.y();

    update(oldExtent);
    update(m_workingPoint->Extent(QPoint(m_markerX, m_markerY)));
    if (m_workingPoint->ShowActiveRef())
        RepaintActiveHeaders(oldCol, oldRow);
}

void TOrvGrid::RepaintActiveHeaders(int oldCol, int oldRow)
{
    if (m_activeRow != oldRow && m_rowReferences->Visible()) {
        update(CellRect(0, oldRow + FixedRows()));
        update(CellRect(0, m_activeRow + FixedRows()));
    }
    if (m_activeCol != oldCol && m_colReferences->Visible()) {
        update(CellRect(oldCol + FixedCols(), 0));
        update(CellRect(m_activeCol + FixedCols(), 0));
    }
}

double TOrvGrid::InterpolateAlong(const TGridReference& axis, double point, bool columns)
{
    const QVector<double> breakpoints = BreakpointsOf(*axis.Breakpoints());
    const int n = int(breakpoints.size());
    const int active = qBound(0, columns ? m_activeCol : m_activeRow, n - 1);
    const auto element = [&](int index) {
        return columns ? CellValue(m_activeRow, index) : CellValue(index, m_activeCol);
    };
    const double a = breakpoints[active];
    const double m = element(active);
    // Beyond the first or the last breakpoint the element itself; so also
    // between two equal breakpoints.
    const int neighbour = point > a ? active + 1 : active - 1;
    if (neighbour < 0 || neighbour >= n || breakpoints[neighbour] == a)
        return m;
    return m + (point - a) * (element(neighbour) - m) / (breakpoints[neighbour] - a);
}

double TOrvGrid::GetInterpolatedValue()
{
    double sum = 0;
    int axes = 0;
    if (m_colReferences->Breakpoints()) {
        sum += InterpolateAlong(*m_colReferences, m_pointX, true);
        ++axes;
    }
    if (m_rowReferences->Breakpoints()) {
        sum += InterpolateAlong(*m_rowReferences, m_pointY, false);
        ++axes;
    }
    return axes > 0 ? sum / axes : 0;
}

// --- filling the client area ------------------------------------------------

int TOrvGrid::ClientExtent(Qt::Orientation direction) const
{
    return direction == Qt::Horizontal ? width() : height();
}

void TOrvGrid::SetClientExtent(Qt::Orientation direction, int extent)
{
    if (direction == Qt::Horizontal)
        resize(extent, height());
    else
        resize(width(), extent);
}

QVector<double>& TOrvGrid::Proportions(Qt::Orientation direction)
{
    return direction == Qt::Horizontal ? m_colProportions : m_rowProportions;
}

void TOrvGrid::FitCells(Qt::Orientation direction, Fit fit)
{
    if (!m_autoSize || m_fitting)
        return;
    QVector<int> sizes = Sizes(direction);
    const int count = int(sizes.size());
    const int lines = count * LineWidth(direction);
    const int available = ClientExtent(direction) - lines;
    const int sum = std::accumulate(sizes.cbegin(), sizes.cend(), 0);
    if (sum == available)
        return;
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    if (fit == Fit::Keep)
        return SetClientExtent(direction, lines + sum);

    const QVector<double>& proportions = Proportions(direction);
    for (int i = 1; i < count; ++i) {
        int size = available / count;
        if (fit == Fit::Scale && sum > 0)
            size = int(sizes[i] * (double(available) / sum));
        else if (proportions.size() == count)
            size = int(std::lround(available * proportions[i]));
        sizes[i] = qMax(MinimumSize, size);
    }
    const int needed = GiveFirstTheRest(sizes, available);
    SetSizes(direction, sizes);
    if (needed > available)
        SetClientExtent(direction, lines + needed);
}

void TOrvGrid::AdjustColWidths(bool keepWidths)
{
    FitCells(Qt::Horizontal, keepWidths ? Fit::Keep : Fit::Share);
}

void TOrvGrid::AdjustRowHeights(bool keepHeights)
{
    FitCells(Qt::Vertical, keepHeights ? Fit::Keep : Fit::Share);
}

void TOrvGrid::ExpandColWidths()
{
    FitCells(Qt::Horizontal, Fit::Scale);
}

void TOrvGrid::ExpandRowHeights()
{
    FitCells(Qt::Vertical, Fit::Scale);
}

void TOrvGrid::StoreProportions(Qt::Orientation direction)
{
    QVector<double>& proportions = Proportions(direction);
    proportions.clear();
    const QVector<int>& sizes = Sizes(direction);
    const int available = ClientExtent(direction) - int(sizes.size()) * LineWidth(direction);
    if (available <= 0)
        return; // nothing to share out: the cells are shared equally
    for (const int size : sizes)
        proportions.append(double(size) / available);
}

void TOrvGrid::StoreColProportions()
{
    StoreProportions(Qt::Horizontal);
}

void TOrvGrid::StoreRowProportions()
{
    StoreProportions(Qt::Vertical);
}

void TOrvGrid::ColWidthsChanged()
{
    AdjustColWidths(true);
    TDrawGrid::ColWidthsChanged();
}

void TOrvGrid::RowHeightsChanged()
{
    AdjustRowHeights(true);
    TDrawGrid::RowHeightsChanged();
}

void TOrvGrid::SizeChanged(int, int)
{
    AdjustColWidths(false);
    AdjustRowHeights(false);
}

void TOrvGrid::resizeEvent(QResizeEvent* event)
{
    TDrawGrid::resizeEvent(event);
    if (m_sizingByResizer) {
        AdjustColWidths(false);
        AdjustRowHeights(false);
    } else {
        ExpandRowHeights();
        ExpandColWidths();
    }
}
