// The item sets the configuration files are about, on a module without a
// unit: what an ordinary load writes, and what a restore writes and a
// comparison compares. A command in either set would let a file erase or
// reprogram the unit.

#include "items/OrvNumber.h"
#include "model/ConfigurationFiles.h"
#include "model/SerialDataModule.h"

#include <QTest>

class TestConfigurationFiles : public QObject {
    Q_OBJECT

private slots:
    void itemSets_data();
    void itemSets();
    void setsFollowTheCatalogueOrder();
};

void TestConfigurationFiles::itemSets_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("compared");

    QTest::newRow("erase command") << "CHECKUP" << false << false << false;
    QTest::newRow("reprogramming command") << "RIPROGRAMMAZIONE" << false << false << false;
    QTest::newRow("yellow-wire cut-off") << "GiriCutOffFiliGialli" << false << false << true;
    QTest::newRow("yellow-wire release") << "GiriSgancioCutOffFiliGialli" << false << false << true;
    QTest::newRow("ordinary parameter") << "GiriCutOff" << false << true << true;
    QTest::newRow("ignition type") << "TIPO_ACCENSIONE" << false << true << true;
    QTest::newRow("read-only parameter") << "GiriCutOff" << true << false << false;
}

void TestConfigurationFiles::itemSets()
{
    QFETCH(QString, item);
    QFETCH(bool, readOnly);
    QFETCH(bool, loaded);
    QFETCH(bool, compared);

    TSerialDataModule module;
    TOrvNumber& number = module.NumberNamed(item);
    number.SetReadOnly(readOnly);
    const TConfigurationFiles files(module);
    QCOMPARE(files.LoadableItems().contains(&number), loaded);
    QCOMPARE(files.ConfigurationItems().contains(&number), compared);
}

// A comparison lists its differences, and a report its rows, in the order of
// the configuration window: the catalogue's.
void TestConfigurationFiles::setsFollowTheCatalogueOrder()
{
    TSerialDataModule module;
    const TConfigurationFiles files(module);
    QList<TOrvNumber*> numbers;
    for (TOrvSerialData* item : module.Items()) {
        if (auto* number = qobject_cast<TOrvNumber*>(item))
            numbers << number;
    }
    for (const QList<TOrvNumber*>& set : {files.LoadableItems(), files.ConfigurationItems()}) {
        QVERIFY(!set.isEmpty());
        qsizetype last = -1;
        for (TOrvNumber* number : set) {
            const qsizetype at = numbers.indexOf(number);
            QVERIFY2(at > last, qPrintable(number->objectName()));
            last = at;
        }
    }
    // Every parameter but the commands is compared.
    QCOMPARE(files.ConfigurationItems().size() + TConfigurationFiles::CommandItems().size(), numbers.size());
}

QTEST_GUILESS_MAIN(TestConfigurationFiles)
#include "tst_configurationfiles.moc"
