// The wait window: progress set or added, the percentage line, the progress
// messages of the link library, and the reference to the window being shown.

#include "app/FormAttesa.h"
#include "link/WindowMessage.h"

#include <QCoreApplication>
#include <QTest>

class TestWaitWindow : public QObject {
    Q_OBJECT

private slots:
    void progressIsSetOrAdded();
    void progressMessagesMoveTheBar_data();
    void progressMessagesMoveTheBar();
    void currentWaitWindowIsClearedWithTheWindow();
};

void TestWaitWindow::progressIsSetOrAdded()
{
    TFormAttesa wait([] { return QStringLiteral("done"); });
    wait.SetWaitProgress(10, true);
    wait.SetWaitProgress(30, false);
    wait.SetWaitProgress(30, false);
    QCOMPARE(wait.Progress(), 70);
    QCOMPARE(wait.CompletedLine(), QStringLiteral("70% done"));
    QCOMPARE(wait.windowTitle(), QStringLiteral("Finestra di attesa"));
    QCOMPARE(wait.size(), QSize(342, 110));
}

void TestWaitWindow::progressMessagesMoveTheBar_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("add");
    QTest::addColumn<int>("expected");
    QTest::newRow("set") << 40 << 0 << 40;
    QTest::newRow("add") << 15 << 1 << 35;
}

void TestWaitWindow::progressMessagesMoveTheBar()
{
    QFETCH(int, percent);
    QFETCH(int, add);
    QFETCH(int, expected);
    TFormAttesa wait([] { return QString(); });
    wait.SetWaitProgress(20, true);
    wait.ShowAndRepaint();
    TWindowMessage message(WindowMessage::WMProgress, uintptr_t(percent), add);
    QCoreApplication::sendEvent(&wait, &message);
    QCOMPARE(wait.Progress(), expected);
}

void TestWaitWindow::currentWaitWindowIsClearedWithTheWindow()
{
    {
        TFormAttesa wait([] { return QString(); });
        CurrentWaitWindow = &wait;
    }
    QVERIFY(!CurrentWaitWindow);
}

QTEST_MAIN(TestWaitWindow)
#include "tst_waitwindow.moc"
