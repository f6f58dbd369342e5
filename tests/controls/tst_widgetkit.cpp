// The widget kit: the gradient fill bar and lamp, and the status bar panels.

#include "controls/ProgressFill.h"
#include "controls/StatusBar.h"

#include <QImage>
#include <QLabel>
#include <QTest>

class TestWidgetKit : public QObject {
    Q_OBJECT

private slots:
    void fillShowsItsPercentage();
    void lampIsSolidAtFullAndEmptyAtZero();
    void statusBarPanels();
};

void TestWidgetKit::fillShowsItsPercentage()
{
    TProgressFill bar;
    bar.resize(217, 25);
    bar.SetStartColor(QColor(0, 128, 64));
    bar.SetEndColor(QColor(0, 255, 0));
    bar.SetSteps(50);
    bar.SetPercent(150);
    QCOMPARE(bar.Percent(), 100);
    bar.SetPercent(40);
    QCOMPARE(bar.BandColor(0), QColor(0, 128, 64));
    QCOMPARE(bar.BandColor(49), QColor(0, 255, 0));

    const QImage image = bar.grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 12)), QColor(0, 128, 64));   // filled, the gradient's start
    QVERIFY(QColor(image.pixel(200, 12)) != bar.BandColor(45)); // beyond 40 %: not filled
}

void TestWidgetKit::lampIsSolidAtFullAndEmptyAtZero()
{
    TProgressFill lamp;
    lamp.resize(40, 40);
    lamp.SetColor(Qt::red);
    lamp.SetPercent(100);
    QImage image = lamp.grab().toImage();
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(39, 39)), QColor(Qt::red));

    lamp.SetPercent(0);
    image = lamp.grab().toImage();
    QVERIFY(QColor(image.pixel(20, 20)) != QColor(Qt::red));
}

void TestWidgetKit::statusBarPanels()
{
    TStatusBar bar;
    bar.resize(800, 24);
    QFont bold(QStringLiteral("Arial"), 16);
    bold.setBold(true);
    QCOMPARE(bar.AddPanel(500, bold, Qt::red), 0);
    QCOMPARE(bar.AddPanel(0, bold, QColor(0, 128, 0)), 1);
    bar.SetPanelText(0, QStringLiteral("Centralina non connessa"));
    bar.SetPanelText(1, QStringLiteral("PORT: USB"));
    bar.SetPanelTextColor(0, QColor(0, 128, 0));
    bar.SetPanelText(7, QStringLiteral("ignored"));

    QCOMPARE(bar.PanelCount(), 2);
    QCOMPARE(bar.PanelText(0), QStringLiteral("Centralina non connessa"));
    QCOMPARE(bar.PanelTextColor(0), QColor(0, 128, 0));
    QCOMPARE(bar.Panel(0)->width(), 500);
    QVERIFY(bar.Panel(0)->font().bold());
    QCOMPARE(bar.PanelText(7), QString());
    QCOMPARE(bar.Panel(7), nullptr);
}

QTEST_MAIN(TestWidgetKit)
#include "tst_widgetkit.moc"
