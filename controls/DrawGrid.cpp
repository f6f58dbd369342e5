#include "controls/DrawGrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <utility>

namespace {

constexpr int InitialCount = 5;
const QPoint NoCell(-1, -1);

} // namespace

TDrawGrid::TDrawGrid(QWidget* parent)
    : QWidget(parent), m_colWidths(InitialCount, m_defaultColWidth),
      m_rowHeights(InitialCount, m_defaultRowHeight), m_color(palette().color(QPalette::Base)),
      m_fixedColor(palette().color(QPalette::Button)), m_editor(new QLineEdit(this))
{
    setFocusPolicy(Qt::StrongFocus);
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
}

TDrawGrid::~TDrawGrid()
{
    // The editor outlives this part of the grid; it must not call back into it.
    m_editor->removeEventFilter(this);
}

// --- dimensions -------------------------------------------------------------

void TDrawGrid::SetColCount(int count)
{
    SetCount(Qt::Horizontal, count);
}

void TDrawGrid::SetRowCount(int count)
{
    SetCount(Qt::Vertical, count);
}

void TDrawGrid::SetCount(Qt::Orientation direction, int count)
{
    const bool columns = direction == Qt::Horizontal;
    QVector<int>& sizes = columns ? m_colWidths : m_rowHeights;
    count = qMax(1, count);
    if (count == sizes.size())
        return;
    HideEditor(false);
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    sizes.resize(count, columns ? m_defaultColWidth : m_defaultRowHeight);
    int& fixed = columns ? m_fixedCols : m_fixedRows;
    fixed = qMin(fixed, count - 1);
    ClampSelection();
    SizeChanged(oldCols, oldRows);
    update();
}

void TDrawGrid::SetFixedCols(int count)
{
    m_fixedCols = qBound(0, count, ColCount() - 1);
    ClampSelection();
    update();
}

void TDrawGrid::SetFixedRows(int count)
{
    m_fixedRows = qBound(0, count, RowCount() - 1);
    ClampSelection();
    update();
}

void TDrawGrid::SetDefaultColWidth(int width)
{
    m_defaultColWidth = qMax(0, width);
    SetSizes(Qt::Horizontal, QVector<int>(ColCount(), m_defaultColWidth));
}

void TDrawGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = qMax(0, height);
    SetSizes(Qt::Vertical, QVector<int>(RowCount(), m_defaultRowHeight));
}

void TDrawGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= ColCount() || m_colWidths[col] == width)
        return;
    m_colWidths[col] = qMax(0, width);
    ColWidthsChanged();
}

void TDrawGrid::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= RowCount() || m_rowHeights[row] == height)
        return;
    m_rowHeights[row] = qMax(0, height);
    RowHeightsChanged();
}

const QVector<int>& TDrawGrid::Sizes(Qt::Orientation direction) const
{
    return direction == Qt::Horizontal ? m_colWidths : m_rowHeights;
}

void TDrawGrid::SetSizes(Qt::Orientation direction, const QVector<int>& sizes)
{
    if (direction == Qt::Horizontal) {
        m_colWidths = sizes;
        ColWidthsChanged();
    } else {
        m_rowHeights = sizes;
        RowHeightsChanged();
    }
}

void TDrawGrid::SetGridLineWidth(int width)
{
    m_gridLineWidth = qMax(0, width);
    update();
}

int TDrawGrid::LineWidth(Qt::Orientation direction) const
{
    const TGridOptions lines =
        direction == Qt::Horizontal ? (goFixedVertLine | goVertLine) : (goFixedHorzLine | goHorzLine);
    return m_options & lines ? m_gridLineWidth : 0;
}

void TDrawGrid::ColWidthsChanged()
{
    update();
}

void TDrawGrid::RowHeightsChanged()
{
    update();
}

void TDrawGrid::SizeChanged(int, int) {}

// --- settings ---------------------------------------------------------------

void TDrawGrid::SetDefaultDrawing(bool on)
{
    m_defaultDrawing = on;
    update();
}

void TDrawGrid::SetOptions(TGridOptions options)
{
    m_options = options;
    if (!(options & goEditing))
        HideEditor(false);
    update();
}

void TDrawGrid::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void TDrawGrid::SetFixedColor(const QColor& color)
{
    m_fixedColor = color;
    update();
}

// --- cells ------------------------------------------------------------------

bool TDrawGrid::IsDataCell(int col, int row) const
{
    return col >= m_fixedCols && col < ColCount() && row >= m_fixedRows && row < RowCount();
}

int TDrawGrid::Offset(Qt::Orientation direction, int index) const
{
    const QVector<int>& sizes = Sizes(direction);
    const int line = LineWidth(direction);
    int offset = 0;
    for (int i = 0; i < index; ++i)
        offset += sizes[i] + line;
    return offset;
}

QRect TDrawGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return QRect();
    return QRect(Offset(Qt::Horizontal, col), Offset(Qt::Vertical, row), m_colWidths[col], m_rowHeights[row]);
}

QPoint TDrawGrid::MouseCoord(QPoint point) const
{
    const auto indexAt = [this](Qt::Orientation direction, int position) {
        const QVector<int>& sizes = Sizes(direction);
        const int line = LineWidth(direction);
        int end = 0;
        for (int i = 0; i < sizes.size(); ++i) {
            end += sizes[i] + line;
            if (position < end)
                return position < 0 ? -1 : i;
        }
        return -1;
    };
    const int col = indexAt(Qt::Horizontal, point.x());
    const int row = indexAt(Qt::Vertical, point.y());
    return col < 0 || row < 0 ? NoCell : QPoint(col, row);
}

void TDrawGrid::MoveCurrent(int col, int row, bool extend)
{
    const QPoint cell(qBound(m_fixedCols, col, ColCount() - 1), qBound(m_fixedRows, row, RowCount() - 1));
    if (cell == m_current && (extend || cell == m_anchor))
        return;
    m_current = cell;
    if (!extend)
        m_anchor = cell;
    update();
}

void TDrawGrid::SetCurrent(int col, int row)
{
    MoveCurrent(col, row, false);
}

void TDrawGrid::SetSelection(const QRect& cells)
{
    MoveCurrent(cells.left(), cells.top(), false);
    MoveCurrent(cells.right(), cells.bottom(), true);
}

void TDrawGrid::ClampSelection()
{
    const QPoint anchor = m_anchor;
    const QPoint current = m_current;
    MoveCurrent(anchor.x(), anchor.y(), false);
    MoveCurrent(current.x(), current.y(), true);
}

// --- painting ---------------------------------------------------------------

void TDrawGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state)
{
    emit OnDrawCell(&canvas, col, row, rect, state);
}

void TDrawGrid::paintEvent(QPaintEvent* event)
{
    QPainter canvas(this);
    const QRect selection = Selection();
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            const QRect rect = CellRect(col, row);
            if (!rect.intersects(event->rect()))
                continue;
            TGridDrawState state;
            state.setFlag(gdFixed, !IsDataCell(col, row));
            state.setFlag(gdSelected, IsDataCell(col, row) && selection.contains(col, row));
            state.setFlag(gdFocused, QPoint(col, row) == m_current && hasFocus());
            canvas.save();
            canvas.setClipRect(rect);
            if (m_defaultDrawing) {
                const bool highlighted =
                    state & gdSelected && (!(state & gdFocused) || m_options & goDrawFocusSelected);
                canvas.fillRect(rect, state & gdFixed ? m_fixedColor
                                      : highlighted   ? palette().color(QPalette::Highlight)
                                                      : m_color);
                canvas.setPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Text));
            }
            DrawCell(canvas, col, row, rect, state);
            canvas.restore();
        }
    }
    DrawLines(canvas);
}

void TDrawGrid::DrawLines(QPainter& canvas) const
{
    const QColor color = palette().color(QPalette::Mid);
    const int width = Offset(Qt::Horizontal, ColCount());
    const int height = Offset(Qt::Vertical, RowCount());
    if (const int line = LineWidth(Qt::Horizontal)) {
        for (int col = 0; col < ColCount(); ++col) {
            if (m_options & (col < m_fixedCols ? goFixedVertLine : goVertLine))
                canvas.fillRect(Offset(Qt::Horizontal, col + 1) - line, 0, line, height, color);
        }
    }
    if (const int line = LineWidth(Qt::Vertical)) {
        for (int row = 0; row < RowCount(); ++row) {
            if (m_options & (row < m_fixedRows ? goFixedHorzLine : goHorzLine))
                canvas.fillRect(0, Offset(Qt::Vertical, row + 1) - line, width, line, color);
        }
    }
}

void TDrawGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TDrawGrid::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

// --- keys and mouse ---------------------------------------------------------

void TDrawGrid::keyPressEvent(QKeyEvent* event)
{
    HideEditor(true);
    const bool extend = event->modifiers() & Qt::ShiftModifier && m_options & goRangeSelect;
    switch (event->key()) {
    case Qt::Key_Left:
        return MoveCurrent(Col() - 1, Row(), extend);
    case Qt::Key_Right:
        return MoveCurrent(Col() + 1, Row(), extend);
    case Qt::Key_Up:
        return MoveCurrent(Col(), Row() - 1, extend);
    case Qt::Key_Down:
        return MoveCurrent(Col(), Row() + 1, extend);
    case Qt::Key_Home:
        return MoveCurrent(m_fixedCols, Row(), extend);
    case Qt::Key_End:
        return MoveCurrent(ColCount() - 1, Row(), extend);
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_options & goEditing)
            return ShowEditor();
        break;
    default:
        if (m_options & goEditing && !event->text().isEmpty() && event->text().at(0).isPrint()) {
            ShowEditor();
            if (EditorMode()) // typing replaces the cell's text
                return m_editor->setText(event->text());
        }
        break;
    }
    QWidget::keyPressEvent(event);
}

void TDrawGrid::mousePressEvent(QMouseEvent* event)
{
    HideEditor(true);
    const QPoint cell = MouseCoord(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !IsDataCell(cell.x(), cell.y()))
        return;
    const bool range = m_options & goRangeSelect;
    MoveCurrent(cell.x(), cell.y(), range && event->modifiers() & Qt::ShiftModifier);
    m_selecting = range;
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint cell = MouseCoord(event->position().toPoint());
    if (m_selecting && event->buttons() & Qt::LeftButton && cell != NoCell)
        MoveCurrent(cell.x(), cell.y(), true);
}

void TDrawGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    const QPoint cell = MouseCoord(event->position().toPoint());
    if (event->button() == Qt::LeftButton && IsDataCell(cell.x(), cell.y()) && m_options & goEditing)
        ShowEditor();
}

// --- in-place editor --------------------------------------------------------

bool TDrawGrid::CanEditShow() const
{
    return m_options & goEditing;
}

QString TDrawGrid::GetEditText(int, int)
{
    return QString();
}

void TDrawGrid::SetEditText(int, int, const QString&) {}

bool TDrawGrid::EditorMode() const
{
    return m_editCell != NoCell;
}

void TDrawGrid::ShowEditor()
{
    if (EditorMode() || !IsDataCell(Col(), Row()) || !CanEditShow())
        return;
    m_editCell = m_current;
    m_editedText = GetEditText(Col(), Row());
    m_editor->setText(m_editedText);
    m_editor->setGeometry(CellRect(Col(), Row()));
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->selectAll();
}

void TDrawGrid::HideEditor(bool keep)
{
    if (!EditorMode())
        return;
    const QPoint cell = std::exchange(m_editCell, NoCell);
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
    // Text handed back unchanged would only round the value to its display.
    if (keep && m_editor->text() != m_editedText)
        SetEditText(cell.x(), cell.y(), m_editor->text());
    update(CellRect(cell.x(), cell.y()));
}

bool TDrawGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            HideEditor(true);
            return true;
        case Qt::Key_Escape:
            HideEditor(false);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            keyPressEvent(key); // closes the editor, keeping its text, and moves on
            return true;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            HideEditor(true);
    }
    return false;
}
