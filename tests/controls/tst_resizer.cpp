// The resizer: transparent while locked; hover zones, grid-snapped drags,
// clipping at 0, the minimum size, its messages and the double-click lock.

#include "../common/MessageRecorder.h"
#include "ControlTestSupport.h"
#include "controls/ComponentResizer.h"
#include "controls/Resizer.h"

#include <QMouseEvent>
#include <QTest>
#include <memory>

namespace {

// A control that counts the mouse events and window messages it receives.
class Target : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;
    int releases = 0;
    int doubleClicks = 0;
    QList<RecordedMessage> messages;

protected:
    bool event(QEvent* event) override
    {
        if (const TWindowMessage* m = TWindowMessage::from(event)) {
            messages.append({m->message(), m->wParam(), m->lParam()});
            return true;
        }
        return QWidget::event(event);
    }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
    void mouseDoubleClickEvent(QMouseEvent*) override { ++doubleClicks; }
};

// A shown window with a 60 x 30 target at (100, 100) and its unlocked resizer.
struct ResizeWindow {
    QWidget window;
    Target* target = new Target(&window);
    TResizer* resizer = new TResizer(target, target);

    ResizeWindow()
    {
        window.resize(400, 300);
        target->setGeometry(100, 100, 60, 30);
        resizer->SetLockControl(false);
    }

    // Moves the pointer, held down, by the offset from where it last was.
    void MoveBy(QPoint offset)
    {
        m_pointer += offset;
        QMouseEvent move(QEvent::MouseMove, target->mapFromGlobal(m_pointer), m_pointer, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
    }
    void Press(QPoint at)
    {
        m_pointer = target->mapToGlobal(at);
        QMouseEvent hover(QEvent::MouseMove, at, m_pointer, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &hover);
        QMouseEvent press(QEvent::MouseButtonPress, at, m_pointer, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }
    void Release()
    {
        QMouseEvent release(QEvent::MouseButtonRelease, target->mapFromGlobal(m_pointer), m_pointer,
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
    }

private:
    QPoint m_pointer;
};

} // namespace

class TestResizer : public QObject {
    Q_OBJECT

private slots:
    void lockedResizerIsTransparent();
    void hoverZones_data();
    void hoverZones();
    void drags_data();
    void drags();
    void dragSendsStartAndEnd();
    void onMoveCanPlaceTheControl();
    void doubleClickLocks();
    void settingsKeepTheirRules();
    void componentResizerMovesBetweenControls();
};

void TestResizer::lockedResizerIsTransparent()
{
    // The same clicks, double-click and drag on a control with a locked
    // resizer and on one without.
    QWidget window;
    window.resize(400, 300);
    auto* bare = new Target(&window);
    auto* guarded = new Target(&window);
    bare->setGeometry(100, 0, 60, 30);
    guarded->setGeometry(100, 100, 60, 30);
    auto* resizer = new TResizer(guarded, guarded);
    QVERIFY(ShowActive(window));

    for (Target* target : {bare, guarded}) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(58, 15));
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(30, 15));
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(30, 15));
        QTest::mouseMove(target, QPoint(50, 25));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(50, 25));
    }

    QVERIFY(resizer->LockControl());
    QVERIFY(bare->presses > 0);
    QCOMPARE(guarded->presses, bare->presses);
    QCOMPARE(guarded->releases, bare->releases);
    QCOMPARE(guarded->doubleClicks, bare->doubleClicks);
    QCOMPARE(guarded->geometry(), QRect(100, 100, 60, 30));
    QVERIFY(guarded->messages.isEmpty());
    QVERIFY(!guarded->hasMouseTracking());
}

void TestResizer::hoverZones_data()
{
    using R = TResizer;
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("cursor");
    QTest::newRow("top-left corner needs raMove")
        << int(R::raCorner) << QPoint(2, 2) << int(R::dkNone) << int(Qt::ArrowCursor);
    QTest::newRow("bottom-right corner")
        << int(R::raCorner) << QPoint(58, 28) << int(R::dkBottomRight) << int(Qt::SizeFDiagCursor);
    QTest::newRow("top-left corner with raMove")
        << int(R::raCorner | R::raMove) << QPoint(2, 2) << int(R::dkTopLeft) << int(Qt::SizeFDiagCursor);
    QTest::newRow("top-right corner")
        << int(R::raCorner | R::raMove) << QPoint(58, 2) << int(R::dkTopRight) << int(Qt::SizeBDiagCursor);
    QTest::newRow("left edge needs raMove")
        << int(R::raHorizontal) << QPoint(2, 15) << int(R::dkNone) << int(Qt::ArrowCursor);
    QTest::newRow("left edge") << int(R::raHorizontal | R::raMove) << QPoint(2, 15) << int(R::dkLeft)
                               << int(Qt::SizeHorCursor);
    QTest::newRow("right edge") << int(R::raHorizontal) << QPoint(58, 15) << int(R::dkRight)
                                << int(Qt::SizeHorCursor);
    QTest::newRow("bottom edge") << int(R::raVertical) << QPoint(30, 28) << int(R::dkBottom)
                                 << int(Qt::SizeVerCursor);
    QTest::newRow("inside") << int(R::raHorizontal | R::raMove) << QPoint(30, 15) << int(R::dkMove)
                            << int(Qt::SizeAllCursor);
}

void TestResizer::hoverZones()
{
    QFETCH(int, mode);
    QFETCH(QPoint, pointer);
    QFETCH(int, kind);
    QFETCH(int, cursor);

    ResizeWindow w;
    w.resizer->SetResizingMode(TResizer::TResizingMode(mode));
    QVERIFY(w.target->hasMouseTracking());
    QMouseEvent hover(QEvent::MouseMove, pointer, w.target->mapToGlobal(pointer), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w.target, &hover);

    QCOMPARE(int(w.resizer->DragKind()), kind);
    QCOMPARE(int(w.target->cursor().shape()), cursor);
}

void TestResizer::drags_data()
{
    QTest::addColumn<QRect>("start");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QList<QPoint>>("steps");
    QTest::addColumn<QRect>("end");
    // Right edge: 14 pixels grow the width by 10; 7 more (21 from the start)
    // by 10 again, as the reference point moved on by 10.
    QTest::newRow("right edge 14") << QRect(100, 100, 60, 30) << QPoint(55, 15) << QList<QPoint>{{14, 0}}
                                   << QRect(100, 100, 70, 30);
    QTest::newRow("right edge 14 then 7") << QRect(100, 100, 60, 30) << QPoint(55, 15)
                                          << QList<QPoint>{{14, 0}, {7, 0}} << QRect(100, 100, 80, 30);
    QTest::newRow("shrinking below 6")
        << QRect(100, 100, 20, 30) << QPoint(17, 15) << QList<QPoint>{{-30, 0}} << QRect(100, 100, 6, 30);
    QTest::newRow("left edge") << QRect(100, 100, 60, 30) << QPoint(2, 15) << QList<QPoint>{{-14, 0}}
                               << QRect(90, 100, 70, 30);
    QTest::newRow("left edge past 0 keeps the width")
        << QRect(5, 100, 60, 30) << QPoint(2, 15) << QList<QPoint>{{-20, 0}} << QRect(0, 100, 60, 30);
    QTest::newRow("move snaps") << QRect(100, 100, 60, 30) << QPoint(30, 15) << QList<QPoint>{{14, 27}}
                                << QRect(110, 120, 60, 30);
    QTest::newRow("move clipped at 0")
        << QRect(7, 100, 60, 30) << QPoint(30, 15) << QList<QPoint>{{-10, 0}} << QRect(0, 100, 60, 30);
}

void TestResizer::drags()
{
    QFETCH(QRect, start);
    QFETCH(QPoint, press);
    QFETCH(QList<QPoint>, steps);
    QFETCH(QRect, end);

    ResizeWindow w;
    w.target->setGeometry(start);
    w.Press(press);
    for (const QPoint& step : steps)
        w.MoveBy(step);
    w.Release();

    QCOMPARE(w.target->geometry(), end);
    QCOMPARE(w.target->presses + w.target->releases, 0); // the control sees no clicks
}

void TestResizer::dragSendsStartAndEnd()
{
    ResizeWindow w;
    w.Press(QPoint(55, 15));
    w.Release();

    QCOMPARE(w.target->messages.size(), 2);
    const RecordedMessage start = w.target->messages.at(0);
    QCOMPARE(start.message, WindowMessage::WMStartResizing);
    QCOMPARE(start.wParam, uintptr_t(TResizer::dkRight));
    QCOMPARE(start.lParam, intptr_t(15 << 16 | 55));
    QCOMPARE(w.target->messages.at(1).message, WindowMessage::WMEndResizing);
    QCOMPARE(int(w.resizer->DragKind()), int(TResizer::dkNone));
    QVERIFY(!w.resizer->Dragging());
}

void TestResizer::onMoveCanPlaceTheControl()
{
    ResizeWindow w;
    w.resizer->OnMove = [](QObject*, int& left, int&) { left = 100; };
    w.Press(QPoint(30, 15));
    w.MoveBy(QPoint(-50, 20));
    QCOMPARE(w.target->pos(), QPoint(100, 120));
}

void TestResizer::doubleClickLocks()
{
    ResizeWindow w;
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPoint(30, 15),
                            w.target->mapToGlobal(QPoint(30, 15)), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(w.target, &doubleClick);
    QVERIFY(w.resizer->LockControl());
    QCOMPARE(w.target->doubleClicks, 0);

    // Without FixDblClick the double-click reaches the control and nothing locks.
    w.resizer->SetLockControl(false);
    w.resizer->SetFixDblClick(false);
    QCoreApplication::sendEvent(w.target, &doubleClick);
    QVERIFY(!w.resizer->LockControl());
    QCOMPARE(w.target->doubleClicks, 1);
}

void TestResizer::settingsKeepTheirRules()
{
    ResizeWindow w;
    w.resizer->SetGridDimension(0);
    QCOMPARE(w.resizer->GridDimension(), 1);
    w.resizer->SetResizingBorder(-1);
    QCOMPARE(w.resizer->ResizingBorder(), 8);
    w.resizer->SetResizingBorder(30); // not smaller than the height
    QCOMPARE(w.resizer->ResizingBorder(), 8);
    w.resizer->SetResizingBorder(12);
    QCOMPARE(w.resizer->ResizingBorder(), 12);
    QCOMPARE(w.resizer->objectName(), QStringLiteral("Resizer"));
}

void TestResizer::componentResizerMovesBetweenControls()
{
    QWidget window;
    auto* first = new Target(&window);
    first->setGeometry(100, 100, 60, 30);
    TComponentResizer resizer;
    QVERIFY(resizer.LockControl());
    QVERIFY(!resizer.Component());

    resizer.SetComponent(first);
    resizer.SetLockControl(false);
    auto second = std::make_unique<Target>(&window);
    second->setGeometry(100, 200, 60, 30);
    resizer.SetComponent(second.get());
    QVERIFY(!resizer.LockControl()); // the lock state travels with the resizer
    QVERIFY(!first->hasMouseTracking());
    QVERIFY(second->hasMouseTracking());

    QMouseEvent press(QEvent::MouseButtonPress, QPoint(55, 15), second->mapToGlobal(QPoint(55, 15)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(first, &press);
    QCOMPARE(first->presses, 1); // no longer in front of the first control
    QCoreApplication::sendEvent(second.get(), &press);
    QCOMPARE(second->presses, 0);

    second.reset();
    QVERIFY(!resizer.Component());
    QVERIFY(resizer.LockControl());
    resizer.SetComponent(nullptr);
    QVERIFY(resizer.LockControl());
}

QTEST_MAIN(TestResizer)
#include "tst_resizer.moc"
