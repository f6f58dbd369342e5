// The tool's user seam: how questions are answered, and what messages and wait
// windows write to standard error.

#include "app/cli/ConsoleOutput.h"
#include "app/cli/ConsolePrompts.h"

#include <QBuffer>
#include <QTest>

Q_DECLARE_METATYPE(TConsoleAnswers)

class TestConsolePrompts : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void hintsNameOnlyWhatAnswers_data();
    void hintsNameOnlyWhatAnswers();
    void messagesCarryTheirCaption();
    void waitWindowWritesWhenShown_data();
    void waitWindowWritesWhenShown();
};

void TestConsolePrompts::answers_data()
{
    QTest::addColumn<bool>("assumeYes");
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<bool>("defaultYes");
    QTest::addColumn<bool>("answer");

    QTest::newRow("--yes") << true << false << QByteArray() << false << true;
    QTest::newRow("no terminal") << false << false << QByteArray("y\n") << true << false;
    QTest::newRow("typed y") << false << true << QByteArray("y\n") << false << true;
    QTest::newRow("typed YES") << false << true << QByteArray(" YES \n") << false << true;
    QTest::newRow("typed n") << false << true << QByteArray("n\n") << true << false;
    QTest::newRow("typed anything else") << false << true << QByteArray("si\n") << true << false;
    QTest::newRow("Return takes the default yes") << false << true << QByteArray("\n") << true << true;
    QTest::newRow("Return takes the default no") << false << true << QByteArray("\n") << false << false;
    QTest::newRow("end of input") << false << true << QByteArray() << true << false;
}

void TestConsolePrompts::answers()
{
    QFETCH(bool, assumeYes);
    QFETCH(bool, terminal);
    QFETCH(QByteArray, typed);
    QFETCH(bool, defaultYes);
    QFETCH(bool, answer);

    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    QBuffer input(&typed);
    input.open(QIODevice::ReadOnly);
    TConsoleOutput output(errors);
    TConsolePrompts prompts(output, terminal ? &input : nullptr, {assumeYes, true, false}, false);

    QCOMPARE(prompts.AskYesNo(TMessageIcon::None, "Caption", "Erase?", defaultYes), answer);
    QVERIFY(errors.data().startsWith("Caption: Erase? ["));
}

// Going on without a backup is answered by --no-backup alone: neither --yes nor
// a typed yes; a hint names only an option the command takes.
void TestConsolePrompts::hintsNameOnlyWhatAnswers_data()
{
    QTest::addColumn<bool>("backupQuestion");
    QTest::addColumn<TConsoleAnswers>("given");
    QTest::addColumn<bool>("terminal"); // with "y" typed
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("a command that takes --yes")
        << false << TConsoleAnswers{false, true, false} << false << false
        << QByteArray("Erase? [y/N] no (no terminal to ask; --yes answers yes)\n");
    QTest::newRow("a command that does not") << false << TConsoleAnswers{} << false << false
                                             << QByteArray("Erase? [y/N] no (no terminal to ask)\n");
    QTest::newRow("no backup, --yes")
        << true << TConsoleAnswers{true, true, false} << false << false
        << QByteArray("Go on? [y/N] no (--no-backup goes on without a backup)\n");
    QTest::newRow("no backup, typed yes")
        << true << TConsoleAnswers{} << true << false
        << QByteArray("Go on? [y/N] no (--no-backup goes on without a backup)\n");
    QTest::newRow("no backup, --no-backup") << true << TConsoleAnswers{false, false, true} << false << true
                                            << QByteArray("Go on? [y/N] yes (--no-backup)\n");
}

void TestConsolePrompts::hintsNameOnlyWhatAnswers()
{
    QFETCH(bool, backupQuestion);
    QFETCH(TConsoleAnswers, given);
    QFETCH(bool, terminal);
    QFETCH(bool, answer);
    QFETCH(QByteArray, written);

    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    QByteArray typed("y\n");
    QBuffer input(&typed);
    input.open(QIODevice::ReadOnly);
    TConsoleOutput output(errors);
    TConsolePrompts prompts(output, terminal ? &input : nullptr, given, false);

    QCOMPARE(backupQuestion ? prompts.AskGoOnWithoutBackup("", "Go on?")
                            : prompts.AskYesNo(TMessageIcon::None, "", "Erase?", false),
             answer);
    QCOMPARE(errors.data(), written);
}

void TestConsolePrompts::messagesCarryTheirCaption()
{
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    TConsoleOutput output(errors);
    TConsolePrompts prompts(output, nullptr, {}, false);

    prompts.ShowMessage(TMessageIcon::Error, "File", "Cannot write");
    prompts.ShowMessage(TMessageIcon::None, "", "Done");
    prompts.ShowMessage(TMessageIcon::None, "", ""); // a text the language store lacks

    QCOMPARE(errors.data(), QByteArray("File: Cannot write\nDone\n"));
    QCOMPARE(prompts.MessageTexts(), QStringList({"Cannot write", "Done", ""}));
}

void TestConsolePrompts::waitWindowWritesWhenShown_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QByteArray>("written");

    // Nothing before the window is shown; the heading again when it changes;
    // a message ends the progress line first.
    QTest::newRow("terminal") << true
                              << QByteArray("Saving: Please wait\n"
                                            "\r[###...........................]  10%\x1b[K"
                                            "\r[..............................]   0%\x1b[K"
                                            "\r[###############...............]  50%\x1b[K\n"
                                            "Saving: Almost done\n"
                                            "Saving: A message\n");
    QTest::newRow("not a terminal") << false
                                    << QByteArray(
                                           "Saving: Please wait\nSaving: Almost done\nSaving: A message\n");
}

void TestConsolePrompts::waitWindowWritesWhenShown()
{
    QFETCH(bool, terminal);
    QFETCH(QByteArray, written);

    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    TConsoleOutput output(errors);
    TConsolePrompts prompts(output, nullptr, {}, terminal);
    {
        std::unique_ptr<TWaitWindow> wait = prompts.CreateWaitWindow();
        wait->SetCaption("Saving");
        wait->SetMessage("Please wait");
        wait->SetWaitProgress(10, true);
        wait->ShowAndRepaint();
        wait->SetWaitProgress(0, true);
        wait->SetWaitProgress(50, false);
        wait->SetMessage("Almost done");
        prompts.ShowMessage(TMessageIcon::None, "Saving", "A message");
    }
    QCOMPARE(errors.data(), written);
}

QTEST_APPLESS_MAIN(TestConsolePrompts)
#include "tst_consoleprompts.moc"
