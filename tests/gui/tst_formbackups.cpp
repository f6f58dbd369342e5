// The backups window and the compare window on the simulated unit: a backup
// restored after a confirmation, and a compare whose ticked rows are loaded.

#include "../common/TestModule.h"
#include "FakeFileDialogs.h"
#include "app/FormBackups.h"
#include "app/FormCompare.h"
#include "items/OrvNumber.h"

#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

class TestFormBackups : public QObject {
    Q_OBJECT

private slots:
    void restoresTheChosenBackupAfterConfirmation();
    void loadsOnlyTheTickedRows();
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
    TFormBackups window(&module, &dialogs, test.folder.path(), nullptr);
    QTableWidget* table = window.Table();
    QCOMPARE(table->rowCount(), 2); // the connect's backup and this one, the closest first
    QCOMPARE(table->item(0, 1)->text(), QString("before-load"));
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
    QCOMPARE(table->item(1, 0)->text(), QString("GIRI CUTOFF"));
    QCOMPARE(table->item(1, 1)->text(), QString("2500 RPM"));
    QCOMPARE(table->item(1, 2)->text(), QString("1500 RPM"));
    QCOMPARE(table->item(1, 3)->text(), QString("48 -> 80"));
    table->item(1, 0)->setCheckState(Qt::Checked);
    compare.LoadButton()->click();
    QCOMPARE(test.sim->readMemory(204), 80);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QString("GIRI_SBANANATA"));

    // A file that cannot be compared is named with the reason.
    const QString missing = test.folder.filePath("missing.tcn");
    test.prompts.messages.clear();
    QVERIFY(!compare.ShowFiles(file, missing));
    QCOMPARE(test.prompts.MessageTexts(), QStringList{"T400\n" + QDir::toNativeSeparators(missing)});
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
    TFormBackups window(&module, &dialogs, test.folder.path(), nullptr);
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
