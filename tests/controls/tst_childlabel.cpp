// The caption label: where it places itself beside its owner, and how it
// follows the owner's bounds, visibility and parent.

#include "ControlTestSupport.h"
#include "controls/ChildLabel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
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

// The rows of the image that hold ink (anything darker than light grey).
int InkRows(const QImage& image)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 160) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

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
    void accentsAboveTheAscentStayInside_data();
    void accentsAboveTheAscentStayInside();
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

void TestChildLabel::accentsAboveTheAscentStayInside_data()
{
    // Wine's Tahoma (the windows' design face on Linux) draws the dots of Ü
    // two pixels above its ascent at 16 pixels.
    QTest::addColumn<QString>("fontFile");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Tahoma bold, German")
        << "/usr/share/wine/fonts/tahomabd.ttf" << QStringLiteral("Überschneidungszeit");
    QTest::newRow("Tahoma, French") << "/usr/share/wine/fonts/tahoma.ttf"
                                    << QStringLiteral("Type d'Émulation");
    QTest::newRow("the default face") << QString() << QStringLiteral("Überschneidungszeit");
}

void TestChildLabel::accentsAboveTheAscentStayInside()
{
    QFETCH(QString, fontFile);
    QFETCH(QString, caption);
    QFont font = QApplication::font();
    if (!fontFile.isEmpty()) {
        const int id = QFontDatabase::addApplicationFont(fontFile);
        if (id < 0)
            QSKIP("fonts-wine is not installed");
        font = QFont(QFontDatabase::applicationFontFamilies(id).value(0));
        font.setBold(fontFile.endsWith(QLatin1String("bd.ttf")));
    }
    font.setPixelSize(16);

    // The caption drawn with room all round, against the label's own picture.
    QImage free(600, 80, QImage::Format_RGB32);
    free.fill(Qt::white);
    QPainter painter(&free);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, 50, caption);
    painter.end();

    LabelWindow w;
    w.window.setStyleSheet(QStringLiteral("QLabel { background: white; color: black; }"));
    w.label->setFont(font);
    w.label->SetCaption(caption);
    QCOMPARE(InkRows(w.label->grab().toImage()), InkRows(free));
}

QTEST_MAIN(TestChildLabel)
#include "tst_childlabel.moc"
