// The backups window and the compare window on the simulated unit: a backup
// restored after a confirmation, a compare in the fitter's words whose ticked
// rows are loaded, and two files compared. The language store's string i
// reads "T<i>".

#include "../common/TestModule.h"
#include "FakeFileDialogs.h"
#include "app/FormBackups.h"
#include "app/FormCompare.h"
#include "items/OrvNumber.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

class TestFormBackups : public QObject {
    Q_OBJECT

private slots:
    void restoresTheChosenBackupAfterConfirmation();
    void loadsOnlyTheTickedRows();
    void comparesInTheFittersWords_data();
    void comparesInTheFittersWords();
    void comparesTwoFilesByName();
    void unreadUnitShowsNotRead();
};

void TestFormBackups::restoresTheChosenBackupAfterConfirmation()
{
    TestModule test;
    TSerialDataModule& module = test.module;
    module.ApplyDefaults();
    QCOMPARE(module.ConnectToUnit(4, 0), 0);
    QVERIFY(module.Number("GiriCutOff")->SetInt(2500));
    const QString backup = module.MakeBackup("before-load");
    QVERIFY(module.Number("GiriCutOff")->SetInt(3000));

    FakeFileDialogs dialogs;
    TFormBackups window(&module, &dialogs, DesignScreenWidth, nullptr);
    QTableWidget* table = window.Table();
    QCOMPARE(table->rowCount(), 2); // the connect's backup and this one, the closest first
    // The reasons in words, and the two notes named for what each does.
    QCOMPARE(table->item(0, 1)->text(), QString("T611"));
    QCOMPARE(table->item(1, 1)->text(), QString("T610"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("T616"));
    auto* form = window.findChild<QFormLayout*>();
    QVERIFY(form);
    QCOMPARE(qobject_cast<QLabel*>(form->itemAt(0, QFormLayout::LabelRole)->widget())->text(),
             QString("T615"));
    QCOMPARE(table->item(0, 3)->text(), QString("1"));
    table->item(0, 2)->setText("Fiat Punto, customer 17");
    QCOMPARE(module.Backups().List().first().note, QString("Fiat Punto, customer 17"));

    window.RestoreSelected(); // answered no
    QCOMPARE(test.sim->readMemory(204), 40);
    test.prompts.answers = {true};
    window.RestoreSelected();
    QCOMPARE(test.sim->readMemory(204), 48);
    QCOMPARE(test.prompts.questions.size(), 2);
}

void TestFormBackups::loadsOnlyTheTickedRows()
{
    TestModule test;
    TSerialDataModule& module = test.module;
    module.ApplyDefaults();
    QCOMPARE(module.ConnectToUnit(4, 0), 0);
    const QString file = test.folder.filePath("factory.tcn");
    QVERIFY(module.SaveConfiguration(file));
    QVERIFY(module.Number("GiriCutOff")->SetInt(2500));
    QVERIFY(module.Number("GiriSbananata")->SetInt(4000));

    TFormCompare compare(&module, nullptr);
    QVERIFY(compare.ShowUnitAgainst(file));
    QTableWidget* table = compare.Table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, 0)->text(), QString("T80"));
    QCOMPARE(table->item(1, 1)->text(), QString("2500 RPM"));
    QCOMPARE(table->item(1, 2)->text(), QString("1500 RPM"));
    QCOMPARE(table->item(1, 3)->text(), QString("48 → 80"));
    table->item(1, 0)->setCheckState(Qt::Checked);
    compare.LoadButton()->click();
    QCOMPARE(test.sim->readMemory(204), 80);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QString("T631"));

    // A file that cannot be compared is named with the reason.
    const QString missing = test.folder.filePath("missing.tcn");
    test.prompts.messages.clear();
    QVERIFY(!compare.ShowFiles(file, missing));
    QCOMPARE(test.prompts.MessageTexts(), QStringList{"T400\n" + QDir::toNativeSeparators(missing)});
}

// One value changed on the unit against the factory file: the row of its item
// names it and both values as the configuration window shows them, a flag
// byte as the options that differ, one a line.
void TestFormBackups::comparesInTheFittersWords_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("file");

    QTest::newRow("number") << "GiriCutOff" << 2500 << "T80"
                            << "2500 RPM"
                            << "1500 RPM";
    QTest::newRow("list") << "TIPO_ACCENSIONE" << 2 << "T27"
                          << "T30"
                          << "T32";
    QTest::newRow("flag") << "FLAG_GONFIGURAZIONE" << (32 | 4) << "T79"
                          << "T543"
                          << "T544";
    QTest::newRow("two flags") << "FLAG_GONFIGURAZIONE" << (32 | 8 | 4) << "T82\nT79"
                               << "T543\nT543"
                               << "T544\nT544";
    QTest::newRow("no caption: its name")
        << "NPassiTestMagroPower" << 6 << "NUMERO DI PASSI TEST MAGRO IN SBANANATA"
        << "6"
        << "4";
    QTest::newRow("threshold and its check box") << "GiriFuoriGiri" << 6000 << "T87\nT86"
                                                 << "6000 RPM\nT543"
                                                 << "20000 RPM\nT544";
}

void TestFormBackups::comparesInTheFittersWords()
{
    QFETCH(QString, item);
    QFETCH(int, value);
    TestModule test;
    TSerialDataModule& module = test.module;
    module.ApplyDefaults();
    QCOMPARE(module.ConnectToUnit(4, 0), 0);
    const QString file = test.folder.filePath("factory.tcn");
    QVERIFY(module.SaveConfiguration(file));
    bool set = false;
    TSerialDataModule::WithLimitsSuspended(module.Number(item),
                                           [&] { set = module.Number(item)->SetInt(value); });
    QVERIFY(set);

    TFormCompare compare(&module, nullptr);
    QVERIFY(compare.ShowUnitAgainst(file));
    QTableWidget* table = compare.Table();
    int row = 0;
    while (row < table->rowCount() && table->item(row, 0)->data(Qt::UserRole).toString() != item)
        ++row;
    QVERIFY(row < table->rowCount());
    QTEST(table->item(row, 0)->text(), "caption");
    QTEST(table->item(row, 1)->text(), "unit");
    QTEST(table->item(row, 2)->text(), "file");
}

// Two files: each asked for by name, from the backups' folder; the columns
// titled with the files' names, the stored bytes only in the details.
void TestFormBackups::comparesTwoFilesByName()
{
    TestModule test;
    TSerialDataModule& module = test.module;
    module.ApplyDefaults();
    QCOMPARE(module.ConnectToUnit(4, 0), 0);
    const QString first = test.folder.filePath("first.tcn");
    QVERIFY(module.SaveConfiguration(first));
    QVERIFY(module.Number("GiriCutOff")->SetInt(2500));
    const QString second = test.folder.filePath("second.tcn");
    QVERIFY(module.SaveConfiguration(second));

    FakeFileDialogs dialogs;
    dialogs.answers = {first, QString()}; // the second dialog cancelled
    TFormBackups window(&module, &dialogs, DesignScreenWidth, nullptr);
    window.CompareFiles();
    QCOMPARE(dialogs.captions, QStringList({"T617", "T618"}));
    QCOMPARE(dialogs.folders, QStringList({module.Backups().Folder(), module.Backups().Folder()}));

    TFormCompare compare(&module, nullptr);
    QVERIFY(compare.ShowFiles(first, second));
    QTableWidget* table = compare.Table();
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QString("first.tcn"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("second.tcn"));
    QCOMPARE(table->item(0, 1)->text(), QString("1500 RPM"));
    QVERIFY(table->isColumnHidden(3));
    compare.DetailsBox()->setChecked(true);
    QVERIFY(!table->isColumnHidden(3));
    QCOMPARE(table->horizontalHeaderItem(3)->text(), QString("T621"));
    QCOMPARE(table->item(0, 3)->text(), QString("80 → 48"));
}

// A unit left in its boot loader gives no value: neither window puts the
// values the module holds in the unit's place.
void TestFormBackups::unreadUnitShowsNotRead()
{
    TestModule test;
    TSerialDataModule& module = test.module;
    module.ApplyDefaults();
    QCOMPARE(module.ConnectToUnit(4, 0), 0);
    QVERIFY(module.Number("GiriCutOff")->SetInt(2500));
    const QString backup = module.MakeBackup("before-load");
    module.ReleaseLink(false);
    test.sim->setBootLoaderMode(true);
    QCOMPARE(module.ConnectToUnit(4, 0), 0);

    FakeFileDialogs dialogs;
    TFormBackups window(&module, &dialogs, DesignScreenWidth, nullptr);
    QTableWidget* table = window.Table();
    QCOMPARE(table->rowCount(), 2);
    for (int row = 0; row < table->rowCount(); ++row) {
        QCOMPARE(table->item(row, 3)->text(), QString("T430"));
        QVERIFY(table->item(row, 3)->toolTip().split('\n').contains("GiriCutOff"));
    }

    TFormCompare compare(&module, nullptr);
    QVERIFY(compare.ShowUnitAgainst(backup));
    QVERIFY(compare.Table()->rowCount() > 0);
    for (int row = 0; row < compare.Table()->rowCount(); ++row)
        QCOMPARE(compare.Table()->item(row, 1)->text(), QString("T430"));
}

QTEST_MAIN(TestFormBackups)
#include "tst_formbackups.moc"
