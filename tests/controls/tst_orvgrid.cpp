// The map grid editor against the simulated unit: the working point's bands
// and pixel position, the interpolated value, range changes through the modify
// dialog, the breakpoint dialog and its order check, in-place editing, keys and
// double-clicks, the counts that follow the map, the cells that fill the client
// area, and what the cells show.

#include "../common/SimUnit.h"
#include "ControlTestSupport.h"
#include "controls/FormModMappa.h"
#include "controls/FormRiferimenti.h"
#include "controls/GridReference.h"
#include "controls/GridWorkingPoint.h"
#include "controls/NumericEdit.h"
#include "controls/OrvGrid.h"
#include "items/OrvMatrix.h"
#include "items/OrvPacketData.h"
#include "items/OrvVector.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

namespace {

// The map the simulated unit serves at code 11: 4 rows × 5 columns, element
// (r, c) holding 10 r + c.
constexpr int MapCode = 11;
constexpr int MapCols = 5;
// The vector it serves at code 10, starting 10, 20, 30.
constexpr int VectorCode = 10;

int WriteCount(const SimUnitControl* sim)
{
    return int(SimLog(sim).filter(QRegularExpression(QStringLiteral("^Write"))).size());
}

void ClickButton(QDialog& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}

// Answers every dialog the grid runs: shows it, lets answer act on it as the
// user would, and hands back its result.
void AnswerDialogs(TOrvGrid& grid, const std::function<void(QDialog&)>& answer)
{
    grid.RunDialog = [answer](QDialog& dialog) {
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        answer(dialog);
        dialog.hide();
        return dialog.result();
    };
}

// Types into whatever has the focus: key names (F2, Return, Escape) or text.
void Type(const QStringList& script)
{
    for (const QString& token : script) {
        QWidget* target = QApplication::focusWidget();
        if (token == QLatin1String("F2"))
            QTest::keyClick(target, Qt::Key_F2);
        else if (token == QLatin1String("Return"))
            QTest::keyClick(target, Qt::Key_Return);
        else if (token == QLatin1String("Escape"))
            QTest::keyClick(target, Qt::Key_Escape);
        else
            QTest::keyClicks(target, token);
    }
}

QList<int> Widths(const TOrvGrid& grid)
{
    QList<int> widths;
    for (int c = 0; c < grid.ColCount(); ++c)
        widths << grid.ColWidth(c);
    return widths;
}

} // namespace

class TestOrvGrid : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workingPointBands_data();
    void workingPointBands();
    void livePositionsMoveTheWorkingPoint();
    void interpolatedValue_data();
    void interpolatedValue();
    void rangeChangesWriteEachCell_data();
    void rangeChangesWriteEachCell();
    void doubleClicksAndReturnOpenTheirDialog_data();
    void doubleClicksAndReturnOpenTheirDialog();
    void breakpointDialogWritesWhatChanged();
    void breakpointOrderCheck_data();
    void breakpointOrderCheck();
    void modifyDialogTexts();
    void inPlaceEditing_data();
    void inPlaceEditing();
    void arrowsLeaveTheTable_data();
    void arrowsLeaveTheTable();
    void countsFollowTheMapAndItsAxes();
    void cellsFillTheClientArea();
    void cellTexts();
    void paintingShowsSelectionActiveHeadersAndMarker();

private:
    TOrvMatrix* UnitMatrix();
    TOrvVector* UnitVector(int dimension);
    TOrvGrid* PlacedGrid(QWidget& window, TOrvMatrix* matrix, int top = 0);
    TOrvVector* MemoryVector(const QList<double>& values);

    SimUnitControl* m_sim = nullptr;
    TOrvConnection* m_connection = nullptr;
};

void TestOrvGrid::init()
{
    m_sim = FreshSimUnit();
    m_connection = new TOrvConnection(this);
    QVERIFY(ConnectSimUnit(*m_connection));
    m_sim->clearLog();
}

void TestOrvGrid::cleanup()
{
    delete m_connection;
}

TOrvMatrix* TestOrvGrid::UnitMatrix()
{
    auto* matrix = new TOrvMatrix(m_connection);
    matrix->SetSerialCode(MapCode);
    matrix->SetRowCount(4);
    matrix->SetColCount(MapCols);
    matrix->SetConnection(m_connection);
    return matrix;
}

TOrvVector* TestOrvGrid::UnitVector(int dimension)
{
    auto* vector = new TOrvVector(m_connection);
    vector->SetSerialCode(VectorCode);
    vector->SetArrayDimension(dimension);
    vector->SetConnection(m_connection);
    return vector;
}

// A grid of the map, 400 x 150 pixels, placed in the window at the given top.
TOrvGrid* TestOrvGrid::PlacedGrid(QWidget& window, TOrvMatrix* matrix, int top)
{
    window.resize(400, top + 200);
    auto* grid = new TOrvGrid(&window);
    grid->setGeometry(0, top, 400, 150);
    grid->SetData(matrix);
    return grid;
}

// Breakpoints held in memory only, signed and of two bytes.
TOrvVector* TestOrvGrid::MemoryVector(const QList<double>& values)
{
    auto* vector = new TOrvVector(m_connection);
    vector->SetDataLength(2);
    vector->SetDataSigned(true);
    vector->SetArrayDimension(int(values.size()));
    vector->SetData(values.constData());
    return vector;
}

// --- working point ----------------------------------------------------------

// Data columns at x 0-99, 100-164 and 165-229 (no header column); data row 1
// at y 50-74. The row axis puts the point at its breakpoint 20, the row's centre.
void TestOrvGrid::workingPointBands_data()
{
    QTest::addColumn<QList<double>>("breakpoints");
    QTest::addColumn<double>("point");
    QTest::addColumn<int>("activeCol");
    QTest::addColumn<int>("markerX");

    const QList<double> three{1000, 2000, 3000};
    QTest::newRow("between the lower bound and the breakpoint") << three << 1600.0 << 1 << 100 + 6;
    QTest::newRow("at a breakpoint: the cell's centre") << three << 2000.0 << 1 << 100 + 32;
    QTest::newRow("below the first band: left edge") << three << 700.0 << 0 << 0;
    QTest::newRow("between the last breakpoint and its upper bound") << three << 3400.0 << 2 << 229 - 10;
    QTest::newRow("beyond the last band: right edge") << three << 3700.0 << 2 << 229;
    QTest::newRow("negative first breakpoint: lower bound -12")
        << QList<double>{-10, 0, 10} << -11.0 << 0 << 24;
    QTest::newRow("one breakpoint: bounds 800 and 1200") << QList<double>{1000} << 1100.0 << 0 << 99 - 24;
    QTest::newRow("equal breakpoints: no division by zero")
        << QList<double>{1000, 1000, 2000} << 1000.0 << 1 << 100;
}

void TestOrvGrid::workingPointBands()
{
    QFETCH(QList<double>, breakpoints);
    QFETCH(double, point);
    QFETCH(int, activeCol);
    QFETCH(int, markerX);

    QWidget window;
    TOrvGrid grid(&window);
    grid.SetAutoSize(false);
    grid.RowReferences()->SetVisible(false);
    grid.SetColWidth(0, 99);
    grid.ColReferences()->SetData(MemoryVector(breakpoints));
    grid.RowReferences()->SetData(MemoryVector({10, 20, 30}));

    grid.SetCursorPosition(2, 20);
    grid.SetCursorPosition(1, point);
    QCOMPARE(grid.ActiveCol(), activeCol);
    QCOMPARE(grid.MarkerX(), markerX);
    QCOMPARE(grid.ActiveRow(), 1);
    QCOMPARE(grid.MarkerY(), 50 + 12);
}

void TestOrvGrid::livePositionsMoveTheWorkingPoint()
{
    QWidget window;
    TOrvGrid grid(&window);
    grid.ColReferences()->SetData(MemoryVector({10, 20, 30}));
    grid.RowReferences()->SetData(MemoryVector({1, 2}));
    TOrvPacketData speed;
    TOrvPacketData load;
    TGridWorkingPoint* point = grid.WorkingPoint();
    point->SetHorizontalPosition(&speed);
    point->SetVerticalPosition(&load);

    speed.InitData(16);
    QCOMPARE(grid.PointX(), 0.0); // not followed while disabled
    point->SetEnabled(true);
    speed.InitData(16);
    QCOMPARE(grid.PointX(), 0.0); // nor while nothing shows it
    point->SetShowActiveRef(true);
    speed.InitData(26);
    load.InitData(2);
    QCOMPARE(grid.PointX(), 26.0);
    QCOMPARE(grid.PointY(), 2.0);
    QCOMPARE(grid.ActiveCol(), 2);
    QCOMPARE(grid.ActiveRow(), 1);

    point->SetVerticalPosition(nullptr); // the grid leaves the item's list
    load.InitData(1);
    QCOMPARE(grid.PointY(), 2.0);
}

// The map's rows are 0 1 2 3 4, 10 11 12 13 14, ...
void TestOrvGrid::interpolatedValue_data()
{
    QTest::addColumn<QList<double>>("cols");
    QTest::addColumn<QList<double>>("rows");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QList<double>>("colsAfterwards");
    QTest::addColumn<double>("value");

    const QList<double> cols{1000, 2000, 3000, 4000, 5000};
    const QList<double> rows{10, 20, 30, 40};
    const QList<double> none;
    // 1600 lies in band 1, towards column 0: 1 + (1600 - 2000) (0 - 1) / (1000 - 2000).
    QTest::newRow("column axis only") << cols << none << 1600.0 << 0.0 << none << 0.6;
    QTest::newRow("beyond the last breakpoint") << cols << none << 6000.0 << 0.0 << none << 4.0;
    QTest::newRow("below the first breakpoint") << cols << none << 500.0 << 0.0 << none << 0.0;
    // Along row 2: 20.6; along column 1 between rows 2 and 1: 21 + (25 - 30) (11 - 21) / (20 - 30) = 16.
    QTest::newRow("both axes: the mean") << cols << rows << 1600.0 << 25.0 << none << (20.6 + 16) / 2;
    // The neighbour towards the point became equal to the active breakpoint.
    QTest::newRow("equal neighbouring breakpoints: the active element")
        << cols << none << 2400.0 << 0.0 << QList<double>{1000, 2000, 2000, 4000, 5000} << 1.0;
    QTest::newRow("no axis with breakpoints") << none << none << 1600.0 << 25.0 << none << 0.0;
}

void TestOrvGrid::interpolatedValue()
{
    QFETCH(QList<double>, cols);
    QFETCH(QList<double>, rows);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QList<double>, colsAfterwards);
    QFETCH(double, value);

    QWidget window;
    TOrvGrid grid(&window);
    grid.SetData(UnitMatrix());
    if (!cols.isEmpty())
        grid.ColReferences()->SetData(MemoryVector(cols));
    if (!rows.isEmpty())
        grid.RowReferences()->SetData(MemoryVector(rows));
    grid.SetCursorPosition(2, y);
    grid.SetCursorPosition(1, x);
    if (!colsAfterwards.isEmpty())
        grid.ColReferences()->Data()->SetData(colsAfterwards.constData());
    QCOMPARE(grid.GetInterpolatedValue(), value);
}

// --- modify dialog ----------------------------------------------------------

void TestOrvGrid::rangeChangesWriteEachCell_data()
{
    QTest::addColumn<QRect>("cells"); // data columns and rows
    QTest::addColumn<double>("proposedValue");
    QTest::addColumn<int>("proposedMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mode"); // the radio button chosen, or none
    QTest::addColumn<bool>("ok");
    using Changes = QMap<int, int>; // flat index: value written
    QTest::addColumn<Changes>("changed");

    QTest::newRow("relative 5 on a 2 x 2 range")
        << QRect(1, 1, 2, 2) << 0.0 << 1 << "5"
        << "" << true << Changes{{6, 16}, {7, 17}, {11, 26}, {12, 27}};
    QTest::newRow("percentage -10 on one cell of 50") << QRect(0, 0, 1, 1) << 50.0 << 0 << "-10"
                                                      << "Mode3" << true << Changes{{0, 45}};
    QTest::newRow("absolute on a row") << QRect(2, 3, 3, 1) << 0.0 << 1 << "7"
                                       << "Mode1" << true << Changes{{17, 7}, {18, 7}, {19, 7}};
    QTest::newRow("cancelled") << QRect(1, 1, 2, 2) << 0.0 << 1 << "5"
                               << "" << false << Changes();
}

void TestOrvGrid::rangeChangesWriteEachCell()
{
    QFETCH(QRect, cells);
    QFETCH(double, proposedValue);
    QFETCH(int, proposedMode);
    QFETCH(QString, typed);
    QFETCH(QString, mode);
    QFETCH(bool, ok);
    using Changes = QMap<int, int>;
    QFETCH(Changes, changed);

    m_sim->setDatumElement(MapCode, 0, 50);
    QWidget window;
    TOrvGrid grid(&window);
    grid.SetData(UnitMatrix());
    grid.SetCurrent(cells.left() + 1, cells.top() + 1);
    for (int i = 1; i < cells.width(); ++i)
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    for (int i = 1; i < cells.height(); ++i)
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid.Selection(), cells.translated(1, 1));

    int opened = 0;
    AnswerDialogs(grid, [&](QDialog& dialog) {
        ++opened;
        auto& modify = dynamic_cast<TFormModMappa&>(dialog);
        TNumericEdit* edit = modify.ValueEdit();
        QCOMPARE(edit->GetDouble(), proposedValue);
        QCOMPARE(modify.Mode(), proposedMode);
        QCOMPARE(edit->selectedText(), edit->text());
        QTest::keyClicks(edit, typed);
        if (!mode.isEmpty()) { // on its round button
            auto* radio = modify.findChild<QRadioButton*>(mode);
            QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
        }
        ClickButton(dialog, ok ? "ButtonOk" : "ButtonCancel");
    });
    m_sim->clearLog();
    QTest::keyClick(&grid, Qt::Key_Return);

    QCOMPARE(opened, 1);
    QCOMPARE(WriteCount(m_sim), int(changed.size()));
    for (int k = 0; k < 4 * MapCols; ++k) {
        const int held = k == 0 ? 50 : 10 * (k / MapCols) + k % MapCols;
        QCOMPARE(m_sim->datumElement(MapCode, k), changed.value(k, held));
    }
}

void TestOrvGrid::doubleClicksAndReturnOpenTheirDialog_data()
{
    QTest::addColumn<QString>("action"); // "Return" or the cell double-clicked: "corner", "column
                                         // header", "row header", "cell"
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("readOnly"); // "matrix", "columns" (the column axis's vector) or none
    QTest::addColumn<bool>("columnStrings");
    QTest::addColumn<QString>("opened"); // the dialog and its breakpoint count

    QTest::newRow("corner") << "corner" << false << "" << false << "";
    QTest::newRow("column header") << "column header" << false << "" << false << "breakpoints 5";
    QTest::newRow("row header") << "row header" << false << "" << false << "breakpoints 4";
    QTest::newRow("data cell") << "cell" << false << "" << false << "modify";
    QTest::newRow("Return") << "Return" << false << "" << false << "modify";
    QTest::newRow("data cell, editing") << "cell" << true << "" << false << "";
    QTest::newRow("Return, editing") << "Return" << true << "" << false << "";
    QTest::newRow("data cell, read-only map") << "cell" << false << "matrix" << false << "";
    QTest::newRow("Return, read-only map") << "Return" << false << "matrix" << false << "";
    QTest::newRow("column header, read-only vector") << "column header" << false << "columns" << false << "";
    QTest::newRow("column header showing texts") << "column header" << false << "" << true << "";
}

void TestOrvGrid::doubleClicksAndReturnOpenTheirDialog()
{
    QFETCH(QString, action);
    QFETCH(bool, editing);
    QFETCH(QString, readOnly);
    QFETCH(bool, columnStrings);
    QFETCH(QString, opened);

    QWidget window;
    TOrvMatrix* matrix = UnitMatrix();
    TOrvGrid* grid = PlacedGrid(window, matrix);
    grid->ColReferences()->SetData(MemoryVector({1, 2, 3, 4, 5}));
    grid->RowReferences()->SetData(MemoryVector({1, 2, 3, 4}));
    matrix->SetReadOnly(readOnly == QLatin1String("matrix"));
    grid->ColReferences()->Data()->SetReadOnly(readOnly == QLatin1String("columns"));
    if (columnStrings)
        grid->ColReferences()->SetType(TGridReference::rtStrings);
    if (editing)
        grid->SetOptions(grid->Options() | TDrawGrid::goEditing);
    QVERIFY(ShowActive(window));

    QStringList seen;
    AnswerDialogs(*grid, [&](QDialog& dialog) {
        if (auto* breakpoints = qobject_cast<TFormRiferimenti*>(&dialog))
            seen << QStringLiteral("breakpoints %1").arg(breakpoints->Edits().size());
        else if (qobject_cast<TFormModMappa*>(&dialog))
            seen << QStringLiteral("modify");
    });
    const QMap<QString, QPoint> cells{
        {"corner", {0, 0}}, {"column header", {2, 0}}, {"row header", {0, 2}}, {"cell", {2, 2}}};
    if (action == QLatin1String("Return")) {
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        const QPoint cell = cells.value(action);
        QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->CellRect(cell.x(), cell.y()).center());
    }
    QCOMPARE(seen, opened.isEmpty() ? QStringList() : QStringList{opened});
}

// --- breakpoint dialog ------------------------------------------------------

void TestOrvGrid::breakpointDialogWritesWhatChanged()
{
    QWidget window;
    TOrvGrid grid(&window);
    TOrvVector* vector = UnitVector(3);
    vector->SetMaxValue(250);
    vector->SetMinValue(5);
    vector->SetPrecision(5);
    grid.ColReferences()->SetData(vector);

    AnswerDialogs(grid, [&](QDialog& dialog) {
        auto& breakpoints = dynamic_cast<TFormRiferimenti&>(dialog);
        const QList<TNumericEdit*>& edits = breakpoints.Edits();
        QCOMPARE(edits.size(), 3);
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        QCOMPARE(labels, (QStringList{"Riferimenti", "Riferimento 1", "Riferimento 2", "Riferimento 3"}));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Modifica riferimenti"));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(edits[k]->objectName(), QStringLiteral("Edit%1").arg(k));
            QCOMPARE(edits[k]->GetDouble(), 10.0 * (k + 1));
            QCOMPARE(edits[k]->MaxValue(), 250.0);
            QCOMPARE(edits[k]->MinValue(), 5.0);
            QCOMPARE(edits[k]->GetPrecision(), 5.0);
            QVERIFY(!edits[k]->Validation());
            QCOMPARE(edits[k]->PrevControl(), k > 0 ? edits[k - 1] : nullptr);
            QCOMPARE(edits[k]->NextControl(), k < 2 ? edits[k + 1] : nullptr);
        }
        edits[1]->setText(QStringLiteral("25"));
        ClickButton(dialog, "ButtonOk");
    });
    m_sim->clearLog();
    grid.EditRiferimentiMappa(true);
    QCOMPARE(SimLog(m_sim).filter(QStringLiteral("Write")),
             QStringList{QStringLiteral("WriteIndexed %1 1 25").arg(vector->Descriptor())});

    // Breakpoints that cannot be read show 0; those left alone keep their
    // value in the unit.
    m_sim->failNext(LinkOp::ReadValue, 2, SimError::NoAnswer);
    vector->Load();
    AnswerDialogs(grid, [](QDialog& dialog) {
        const QList<TNumericEdit*>& edits = dynamic_cast<TFormRiferimenti&>(dialog).Edits();
        // 0, raised to the lowest breakpoint allowed.
        QCOMPARE(dynamic_cast<TFormRiferimenti&>(dialog).Values(), (QVector<double>{5, 5, 5}));
        edits[2]->setText(QStringLiteral("40"));
        ClickButton(dialog, "ButtonOk");
    });
    grid.EditRiferimentiMappa(true);
    QCOMPARE(m_sim->datumElement(VectorCode, 0), 10);
    QCOMPARE(m_sim->datumElement(VectorCode, 1), 25);
    QCOMPARE(m_sim->datumElement(VectorCode, 2), 40);
}

void TestOrvGrid::breakpointOrderCheck_data()
{
    QTest::addColumn<int>("sortType");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("refusedAt"); // the edit focused on refusal, or -1 when accepted

    QTest::newRow("ascending refuses 1, 2, 2")
        << int(TGridReference::stAscent) << QStringList{"1", "2", "2"} << 1;
    QTest::newRow("ascending takes 1, 2, 3")
        << int(TGridReference::stAscent) << QStringList{"1", "2", "3"} << -1;
    QTest::newRow("descending refuses 1, 3, 2")
        << int(TGridReference::stDescent) << QStringList{"1", "3", "2"} << 0;
    QTest::newRow("descending takes 3, 2, 1")
        << int(TGridReference::stDescent) << QStringList{"3", "2", "1"} << -1;
    QTest::newRow("no order takes 2, 1, 1")
        << int(TGridReference::stNone) << QStringList{"2", "1", "1"} << -1;
}

void TestOrvGrid::breakpointOrderCheck()
{
    QFETCH(int, sortType);
    QFETCH(QStringList, typed);
    QFETCH(int, refusedAt);

    QWidget window;
    TOrvGrid grid(&window);
    grid.RowReferences()->SetData(UnitVector(3));
    grid.RowReferences()->SetSortType(TGridReference::TRefSortType(sortType));
    QStringList messages;
    AnswerDialogs(grid, [&](QDialog& dialog) {
        auto& breakpoints = dynamic_cast<TFormRiferimenti&>(dialog);
        breakpoints.ShowStopMessage = [&](const QString& caption, const QString& text) {
            messages << caption + QLatin1Char('|') + text;
        };
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int k = 0; k < typed.size(); ++k)
            breakpoints.Edits()[k]->setText(typed[k]);
        ClickButton(dialog, "ButtonOk");
        if (refusedAt < 0)
            return;
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), breakpoints.Edits()[refusedAt]);
        ClickButton(dialog, "ButtonCancel");
    });
    grid.EditRiferimentiMappa(false);

    QCOMPARE(messages, refusedAt < 0
                           ? QStringList()
                           : QStringList{"Modifica riferimenti|I riferimenti devono essere oridinati!"});
    QCOMPARE(WriteCount(m_sim), refusedAt < 0 ? 3 : 0);
}

void TestOrvGrid::modifyDialogTexts()
{
    QWidget window;
    TOrvGrid grid(&window);
    grid.SetData(UnitMatrix());
    QPointer<QDialog> shown;
    AnswerDialogs(grid, [&](QDialog& dialog) { shown = &dialog; });
    QTest::keyClick(&grid, Qt::Key_Return);
    QVERIFY(shown);
    const auto texts = [&] {
        QStringList all{shown->windowTitle(), shown->findChild<QGroupBox*>()->title()};
        for (const char* name : {"Mode1", "Mode2", "Mode3", "ButtonOk", "ButtonCancel"})
            all << shown->findChild<QAbstractButton*>(QLatin1String(name))->text();
        return all;
    };
    QCOMPARE(texts(), (QStringList{"Modifica valori mappa", "Modalità", "A&ssoluta", "&Relativa",
                                   "&Percentuale", "&OK", "&Annulla"}));

    // Names are matched exactly; a missing or misspelt one keeps the text.
    grid.SetMsgStrings({"Caption=Map values", "Mode2=&Add", "mode3=&Scale", "ButtonCancel"});
    QCOMPARE(texts(),
             (QStringList{"Map values", "Modalità", "A&ssoluta", "&Add", "&Percentuale", "&OK", "&Annulla"}));
}

// --- in-place editing -------------------------------------------------------

void TestOrvGrid::inPlaceEditing_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("writes");
    QTest::addColumn<int>("value"); // of data cell (1, 2), which holds 12

    QTest::newRow("a typed number is written") << false << QStringList{"F2", "42", "Return"} << 1 << 42;
    QTest::newRow("typing opens the editor over the text") << false << QStringList{"7", "Return"} << 1 << 7;
    QTest::newRow("text that is not a number is dropped")
        << false << QStringList{"F2", "abc", "Return"} << 0 << 12;
    QTest::newRow("unchanged text is not written back") << false << QStringList{"F2", "Return"} << 0 << 12;
    QTest::newRow("Escape drops the text") << false << QStringList{"F2", "55", "Escape"} << 0 << 12;
    QTest::newRow("a read-only map opens no editor") << true << QStringList{"F2", "42", "Return"} << 0 << 12;
}

void TestOrvGrid::inPlaceEditing()
{
    QFETCH(bool, readOnly);
    QFETCH(QStringList, script);
    QFETCH(int, writes);
    QFETCH(int, value);

    QWidget window;
    TOrvMatrix* matrix = UnitMatrix();
    matrix->SetReadOnly(readOnly);
    TOrvGrid* grid = PlacedGrid(window, matrix);
    grid->SetOptions(grid->Options() | TDrawGrid::goEditing);
    QVERIFY(ShowActive(window));
    grid->setFocus();
    grid->SetCurrent(3, 2);
    m_sim->clearLog();

    Type(script.mid(0, 1));
    QCOMPARE(grid->EditorMode(), !readOnly);
    if (script.first() == QLatin1String("F2"))
        QCOMPARE(grid->InplaceEditor()->text(), readOnly ? QString() : QStringLiteral("12"));
    Type(script.mid(1));
    QVERIFY(!grid->EditorMode());
    QCOMPARE(WriteCount(m_sim), writes);
    QCOMPARE(m_sim->datumElement(MapCode, 1 * MapCols + 2), value);
    QCOMPARE(QApplication::focusWidget(), grid);
}

// --- keys -------------------------------------------------------------------

void TestOrvGrid::arrowsLeaveTheTable_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("arrowMoveFocus");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("rowAfterwards");

    QTest::newRow("Up on the first data row") << 1 << int(Qt::Key_Up) << false << true << "previous" << 1;
    QTest::newRow("Down on the last row") << 4 << int(Qt::Key_Down) << false << true << "next" << 4;
    QTest::newRow("Shift+Down on the last row") << 4 << int(Qt::Key_Down) << true << true << "grid" << 4;
    QTest::newRow("Down on the last row, arrows kept")
        << 4 << int(Qt::Key_Down) << false << false << "grid" << 4;
    QTest::newRow("Up within the rows") << 2 << int(Qt::Key_Up) << false << true << "grid" << 1;
}

void TestOrvGrid::arrowsLeaveTheTable()
{
    QFETCH(int, row);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(bool, arrowMoveFocus);
    QFETCH(QString, focused);
    QFETCH(int, rowAfterwards);

    QWidget window;
    auto* previous = new QLineEdit(&window);
    TOrvGrid* grid = PlacedGrid(window, UnitMatrix(), 30);
    auto* next = new QLineEdit(&window);
    next->move(0, 190);
    grid->SetPrevControl(previous);
    grid->SetNextControl(next);
    grid->SetArrowMoveFocus(arrowMoveFocus);
    QVERIFY(ShowActive(window));
    grid->setFocus();
    grid->SetCurrent(2, row);

    QTest::keyClick(grid, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    const QMap<QString, QWidget*> widgets{{"previous", previous}, {"next", next}, {"grid", grid}};
    QCOMPARE(QApplication::focusWidget(), widgets.value(focused));
    QCOMPARE(grid->Row(), rowAfterwards);
}

// --- counts and sizes -------------------------------------------------------

void TestOrvGrid::countsFollowTheMapAndItsAxes()
{
    QWidget window;
    TOrvGrid grid(&window);
    TOrvMatrix* matrix = UnitMatrix();
    TOrvVector* cols = MemoryVector({1, 2, 3, 4, 5});
    TOrvVector* rows = MemoryVector({1, 2, 3, 4});
    grid.ColReferences()->SetData(cols);
    grid.RowReferences()->SetData(rows);
    grid.SetData(matrix);
    QCOMPARE(QList<int>({grid.ColCount(), grid.RowCount(), grid.FixedCols(), grid.FixedRows()}),
             QList<int>({6, 5, 1, 1}));

    grid.RowReferences()->SetVisible(false);
    QCOMPARE(QList<int>({grid.ColCount(), grid.RowCount(), grid.FixedCols(), grid.FixedRows()}),
             QList<int>({5, 5, 0, 1}));

    // No columns still leaves one; the axes take the new dimensions.
    SendMessage(&grid, WindowMessage::WMChangeDataDim, 0, 3);
    QCOMPARE(QList<int>({grid.ColCount(), grid.RowCount()}), QList<int>({1, 4}));
    QCOMPARE(cols->ArrayDimension(), 1);
    QCOMPARE(rows->ArrayDimension(), 3);

    matrix->SetColCount(7); // the map tells the grid itself
    QCOMPARE(grid.ColCount(), 7);
    QCOMPARE(cols->ArrayDimension(), 7);
}

void TestOrvGrid::cellsFillTheClientArea()
{
    QWidget window;
    window.resize(600, 300);
    auto* grid = new TOrvGrid(&window);
    grid->setGeometry(0, 0, 307, 130);
    QVERIFY(ShowActive(window));

    // A new count shares the width out equally, less a pixel: 6 lines, 301 pixels.
    grid->SetData(UnitMatrix());
    QCOMPARE(Widths(*grid), QList<int>({50, 50, 50, 50, 50, 50}));
    QCOMPARE(grid->RowHeight(0), 125 - 4 * 25 - 1);

    // A changed width makes the table fit around its columns.
    grid->SetColWidth(2, 100);
    QCOMPARE(grid->width(), 6 + 350);

    // A resizer drag keeps the columns' proportions.
    grid->Resizer()->SetLockControl(false);
    const int y = grid->height() / 2;
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(354, y));
    QTest::mouseMove(grid, QPoint(354 + 64, y));
    QCOMPARE(grid->width(), 356 + 60);
    QCOMPARE(Widths(*grid), QList<int>({56, 59, 117, 59, 59, 59}));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(354 + 64, y));
    grid->Resizer()->SetLockControl(true);

    // Outside a drag a new size scales the columns, none below 5 pixels: the
    // table grows instead.
    grid->resize(20, grid->height());
    QCOMPARE(Widths(*grid), QList<int>({5, 5, 5, 5, 5, 5}));
    QCOMPARE(grid->width(), 6 + 30 + 1);

    grid->SetAutoSize(false);
    grid->SetColWidth(2, 100);
    QCOMPARE(grid->width(), 37);
}

// --- painting ---------------------------------------------------------------

void TestOrvGrid::cellTexts()
{
    const LocaleScope locale(false);
    QWidget window;
    TOrvGrid grid(&window);
    TOrvMatrix* matrix = UnitMatrix();
    matrix->SetMeasureUnit(QStringLiteral("ms"));
    grid.SetData(matrix);
    grid.SetDataFormat(QStringLiteral("0.0"));
    grid.ColReferences()->SetData(MemoryVector({1000, 2000, 3000, 4000, 5000}));
    grid.ColReferences()->SetDataFormat(QStringLiteral("0 rpm"));
    grid.RowReferences()->SetType(TGridReference::rtStrings);
    grid.RowReferences()->SetDescriptions({"idle", "low"});

    m_sim->failNext(LinkOp::ReadIndexed, 1, SimError::NoAnswer);
    QCOMPARE(grid.CellText(3, 2), QStringLiteral("0.0")); // cannot be read
    QCOMPARE(grid.CellText(3, 2), QStringLiteral("12.0"));
    QCOMPARE(grid.CellText(0, 0), QStringLiteral("ms"));
    QCOMPARE(grid.CellText(2, 0), QStringLiteral("2000 rpm"));
    QCOMPARE(grid.CellText(0, 2), QStringLiteral("low"));
    QCOMPARE(grid.CellText(0, 3), QString()); // no description
    grid.ColReferences()->SetType(TGridReference::rtNone);
    QCOMPARE(grid.CellText(2, 0), QString());
}

void TestOrvGrid::paintingShowsSelectionActiveHeadersAndMarker()
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    TOrvGrid* grid = PlacedGrid(window, UnitMatrix(), 30);
    grid->ColReferences()->SetData(MemoryVector({10, 20, 30, 40, 50}));
    QVERIFY(ShowActive(window));
    grid->SetCurrent(1, 1);
    const auto pixel = [grid](QPoint at) { return grid->grab().toImage().pixelColor(at); };
    const QPoint cell = grid->CellRect(1, 1).topLeft() + QPoint(2, 2);

    grid->setFocus();
    QCOMPARE(pixel(cell), grid->palette().color(QPalette::Highlight));
    other->setFocus();
    QCOMPARE(pixel(cell), grid->Color()); // the selection shows only while focused

    TGridWorkingPoint* point = grid->WorkingPoint();
    point->SetEnabled(true);
    point->SetShowActiveRef(true);
    grid->SetCursorPosition(1, 31);
    const QPoint header = grid->CellRect(3, 0).topLeft() + QPoint(2, 2);
    QCOMPARE(pixel(header), QColor(Qt::yellow));
    QCOMPARE(pixel(grid->CellRect(2, 0).topLeft() + QPoint(2, 2)), grid->FixedColor());

    const QPoint marker(grid->MarkerX(), grid->MarkerY());
    QVERIFY(pixel(marker) != QColor(Qt::red));
    point->SetVisible(true);
    QCOMPARE(pixel(marker), QColor(Qt::red));
    QPixmap glyph(6, 6);
    glyph.fill(Qt::blue);
    point->SetGlyph(glyph);
    point->SetCustomDrawing(true);
    QCOMPARE(pixel(marker), QColor(Qt::blue));
}

QTEST_MAIN(TestOrvGrid)
#include "tst_orvgrid.moc"
