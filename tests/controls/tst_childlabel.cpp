// The caption label: where it places itself beside its owner, and how it
// follows the owner's bounds, visibility and parent.

#include "ControlTestSupport.h"
#include "controls/ChildLabel.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

using P = TChildLabel::TLabelPosition;
using A = TChildLabel::TAlignment;

struct LabelWindow {
    QWidget window;
    QLineEdit* owner = new QLineEdit(&window);
    TChildLabel* label = new TChildLabel(owner);
};

} // namespace

class TestChildLabel : public QObject {
    Q_OBJECT

private slots:
    void startsBesideItsOwner();
    void anchoring_data();
    void anchoring();
    void followsTheOwner();
    void captionChangeKeepsTheAlignedEdge_data();
    void captionChangeKeepsTheAlignedEdge();
    void clickFocusesTheOwner();
    void labelWithoutOwnerStaysPut();
};

void TestChildLabel::startsBesideItsOwner()
{
    QWidget window;
    auto* owner = new QLineEdit(&window);
    owner->setObjectName(QStringLiteral("OrvValEditTempCambio"));
    auto* label = new TChildLabel(owner);
    QCOMPARE(label->parentWidget(), &window);
    QCOMPARE(label->objectName(), QStringLiteral("ChildLabel"));
    QCOMPARE(label->Caption(), QStringLiteral("OrvValEditTempCambio"));
    QCOMPARE(label->LabelPosition(), TChildLabel::lpLeft);
    QCOMPARE(label->LabelSpacing(), 80);
    QCOMPARE(label->FocusControl(), owner);
}

void TestChildLabel::anchoring_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QPoint>("expected");
    const QRect edit(586, 96, 90, 27);
    QTest::newRow("left, left-justified")
        << int(P::lpLeft) << int(A::taLeftJustify) << edit << QSize(205, 19) << 530 << QPoint(56, 100);
    QTest::newRow("left, right-justified")
        << int(P::lpLeft) << int(A::taRightJustify) << edit << QSize(205, 19) << 530 << QPoint(-149, 100);
    QTest::newRow("left, centred") << int(P::lpLeft) << int(A::taCenter) << edit << QSize(31, 19) << 10
                                   << QPoint(586 - 10 - 15, 100);
    QTest::newRow("left, odd height difference")
        << int(P::lpLeft) << int(A::taLeftJustify) << QRect(586, 96, 90, 24) << QSize(205, 19) << 530
        << QPoint(56, 98);
    QTest::newRow("above, centred") << int(P::lpAbove) << int(A::taCenter) << edit << QSize(31, 19) << 3
                                    << QPoint(586 + 29, 96 - 19 - 3);
    QTest::newRow("below, right-justified") << int(P::lpBelow) << int(A::taRightJustify) << edit
                                            << QSize(31, 19) << 3 << QPoint(586 + 90 - 31, 96 + 27 + 3);
    QTest::newRow("right, left-justified") << int(P::lpRight) << int(A::taLeftJustify) << edit
                                           << QSize(31, 19) << 5 << QPoint(586 + 90 + 5, 100);
}

void TestChildLabel::anchoring()
{
    QFETCH(int, position);
    QFETCH(int, alignment);
    QFETCH(QRect, owner);
    QFETCH(QSize, size);
    QFETCH(int, spacing);
    QFETCH(QPoint, expected);

    LabelWindow w;
    w.owner->setGeometry(owner);
    w.label->resize(size);
    w.label->SetLabelSpacing(spacing);
    w.label->SetAlignment(A(alignment));
    w.label->SetLabelPosition(P(position));
    QCOMPARE(w.label->pos(), expected);
}

void TestChildLabel::followsTheOwner()
{
    LabelWindow w;
    w.label->SetCaption(QStringLiteral("Caption"));
    QVERIFY(ShowActive(w.window));
    QVERIFY(w.label->isVisible());

    w.owner->setGeometry(300, 50, 90, 24);
    QCOMPARE(w.label->x(), 300 - 80);
    w.owner->hide();
    QVERIFY(!w.label->isVisible());
    w.owner->show();
    QVERIFY(w.label->isVisible());

    QWidget other(&w.window);
    other.setGeometry(0, 100, 400, 200);
    other.show();
    w.owner->setParent(&other);
    w.owner->show();
    QCOMPARE(w.label->parentWidget(), &other);
    QVERIFY(w.label->isVisible());
    w.owner->setParent(&w.window); // back, so that the window destroys it
}

void TestChildLabel::captionChangeKeepsTheAlignedEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left-justified keeps the left edge") << int(A::taLeftJustify);
    QTest::newRow("right-justified keeps the right edge") << int(A::taRightJustify);
}

void TestChildLabel::captionChangeKeepsTheAlignedEdge()
{
    QFETCH(int, alignment);
    LabelWindow w;
    w.owner->setGeometry(400, 50, 90, 24);
    w.label->SetAlignment(A(alignment));
    w.label->SetCaption(QStringLiteral("Short"));
    const QRect before = w.label->geometry();
    w.label->SetCaption(QStringLiteral("A much longer caption"));
    const QRect after = w.label->geometry();

    QVERIFY(after.width() > before.width());
    if (alignment == A::taLeftJustify)
        QCOMPARE(after.left(), before.left());
    else
        QCOMPARE(after.right(), before.right());
}

void TestChildLabel::clickFocusesTheOwner()
{
    LabelWindow w;
    auto* other = new QLineEdit(&w.window);
    other->move(0, 200);
    w.owner->move(200, 0);
    w.label->SetCaption(QStringLiteral("Caption"));
    QVERIFY(ShowActive(w.window));
    other->setFocus();
    QSignalSpy clicks(w.label, &TChildLabel::OnClick);

    QTest::mouseClick(w.label, Qt::LeftButton, {}, QPoint(2, 2));

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(QApplication::focusWidget(), w.owner);
}

void TestChildLabel::labelWithoutOwnerStaysPut()
{
    TChildLabel label(nullptr);
    label.move(10, 20);
    label.SetLabelPosition(TChildLabel::lpAbove);
    label.SetCaption(QStringLiteral("Loose"));
    QCOMPARE(label.pos(), QPoint(10, 20));
    QCOMPARE(label.LabelPosition(), TChildLabel::lpLeft);
}

QTEST_MAIN(TestChildLabel)
#include "tst_childlabel.moc"
