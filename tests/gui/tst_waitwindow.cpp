// The wait window: progress set or added, the percentage line, the progress
// messages of the link library, and the reference to the window being shown.

#include "app/DesignFonts.h"
#include "app/FormAttesa.h"
#include "link/WindowMessage.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>

class TestWaitWindow : public QObject {
    Q_OBJECT

private slots:
    void progressIsSetOrAdded();
    void progressMessagesMoveTheBar_data();
    void progressMessagesMoveTheBar();
    void currentWaitWindowIsClearedWithTheWindow();
    void cannotBeClosedWhileItsOperationRuns();
    void percentageLineFitsEveryLanguage_data();
    void percentageLineFitsEveryLanguage();
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

// The window lives as long as its operation, which destroys it: a close (the
// window manager's button, Alt+F4) leaves it shown.
void TestWaitWindow::cannotBeClosedWhileItsOperationRuns()
{
    TFormAttesa wait([] { return QString(); });
    wait.ShowAndRepaint();
    QVERIFY(!wait.close());
    QVERIFY(wait.isVisible());
}

void TestWaitWindow::percentageLineFitsEveryLanguage_data()
{
    QTest::addColumn<int>("screenWidth");
    for (int width : {800, 1024, 1280, 1600, 1920})
        QTest::newRow(qPrintable(QString::number(width))) << width;
}

void TestWaitWindow::percentageLineFitsEveryLanguage()
{
    QFETCH(int, screenWidth);
    DesignFonts::Register(); // as the program does; the line fits with or without them
    TTranslator translator;
    translator.SetDllName(QCoreApplication::applicationDirPath() +
                          QStringLiteral("/Dizionario\\Languages.dll"));
    QVERIFY(translator.LoadLanguageLibrary());
    for (int language = 0; language < translator.MaxLanguages(); ++language) {
        translator.SetLinguaCorrente(language);
        TFormAttesa wait([&translator] { return translator.GetString(TextIndex::PercentCompleted, 0); },
                         screenWidth);
        wait.SetWaitProgress(100, true);
        const auto* line = wait.findChild<QLabel*>(QStringLiteral("LabelCompleted"));
        QVERIFY2(line->fontMetrics().horizontalAdvance(line->text()) <= line->contentsRect().width(),
                 qPrintable(line->text()));
        QVERIFY(line->geometry().right() < wait.width());
    }
}

QTEST_MAIN(TestWaitWindow)
#include "tst_waitwindow.moc"
