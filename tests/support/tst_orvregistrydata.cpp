#include "support/OrvRegistryData.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

namespace {

const QString KeyName = QStringLiteral("software\\orv srl\\TZR582");

// The settings component as the main window sets it up.
std::unique_ptr<TOrvRegistryData> MainWindowSettings()
{
    auto settings = std::make_unique<TOrvRegistryData>();
    settings->SetKeyName(KeyName);
    settings->SetIntegerDataList({"Language=0"});
    return settings;
}

} // namespace

class TestOrvRegistryData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void keyNameNamesAFileInTheConfigurationFolder();
    void firstRunKeepsDefaultsAndSavesThem();
    void valuesSurviveDestructionAndReload();
    void wrongTypesCountAsMissing();
    void nameValueListRules();
    void cleanedListsAndCounts();
    void deletingFromTheStore();
    void noKeyNameNoStore();

private:
    QString m_fileName;
};

void TestOrvRegistryData::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_fileName = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/orv srl/TZR582.conf");
}

void TestOrvRegistryData::init()
{
    QFile::remove(m_fileName);
}

void TestOrvRegistryData::keyNameNamesAFileInTheConfigurationFolder()
{
    QCOMPARE(MainWindowSettings()->SettingsFileName(), m_fileName);
    TOrvRegistryData other;
    other.SetKeyName("Software/../orv srl\\\\Other\\");
    QCOMPARE(other.SettingsFileName(), QFileInfo(m_fileName).path() + "/Other.conf");
}

void TestOrvRegistryData::firstRunKeepsDefaultsAndSavesThem()
{
    auto settings = MainWindowSettings();
    QVERIFY(!settings->LoadData());
    QCOMPARE(settings->GetIntData("Language"), 0);
    QCOMPARE(settings->IntegerDataList(), QStringList{"Language=0"});
    settings.reset();

    QVERIFY(QFile::exists(m_fileName));
    QCOMPARE(QSettings(m_fileName, QSettings::IniFormat).value("Language").toInt(), 0);
}

void TestOrvRegistryData::valuesSurviveDestructionAndReload()
{
    auto settings = MainWindowSettings();
    settings->SetStringDataList({"Port=COM1"});
    settings->LoadData();
    settings->SetIntData("Language", 2);
    settings->SetStringData("Port", "COM3, fast");
    settings.reset();

    settings = MainWindowSettings();
    settings->SetStringDataList({"Port=COM1"});
    QVERIFY(settings->LoadData());
    QCOMPARE(settings->GetIntData("Language"), 2);
    QCOMPARE(settings->GetStringData("Port"), "COM3, fast");
}

void TestOrvRegistryData::wrongTypesCountAsMissing()
{
    {
        QSettings store(m_fileName, QSettings::IniFormat);
        store.setValue("Language", "two");
        store.setValue("Port", QStringList{"a", "b"});
        store.setValue("Speed", 9600);
    }
    auto settings = MainWindowSettings();
    settings->SetIntegerDataList({"Language=1", "Speed=0"});
    settings->SetStringDataList({"Port=COM1"});
    QStringList asked;
    settings->OnMissingIntegerValue = [&](QObject* sender, const QString& name, int& value) {
        QCOMPARE(sender, settings.get());
        asked << QStringLiteral("%1:%2").arg(name).arg(value);
        value = 5;
    };
    settings->OnMissingStringValue = [&](QObject*, const QString& name, QString& value) {
        asked << QStringLiteral("%1:%2").arg(name, value);
    };

    QVERIFY(!settings->LoadData());
    QCOMPARE(asked, (QStringList{"Port:COM1", "Language:1"}));
    QCOMPARE(settings->GetIntData("Language"), 5);
    QCOMPARE(settings->GetIntData("Speed"), 9600);
    QCOMPARE(settings->GetStringData("Port"), "COM1");
}

void TestOrvRegistryData::nameValueListRules()
{
    TOrvRegistryData settings;
    settings.SetStringDataList({"Name=abc", "Mode=x"});
    settings.SetIntegerDataList({"Count=4"});
    QCOMPARE(settings.GetIntData("count"), 4);
    QCOMPARE(settings.GetIntData("Absent"), 0);
    QCOMPARE(settings.GetStringData("Absent"), "");

    settings.SetStringData("Name", "");
    settings.SetStringData("Other", "");
    settings.SetStringData("MODE", "y");
    QCOMPARE(settings.StringDataList(), (QStringList{"MODE=y", "Other="}));
    settings.SetIntData("Extra", -1);
    QCOMPARE(settings.IntegerDataList(), (QStringList{"Count=4", "Extra=-1"}));
}

void TestOrvRegistryData::cleanedListsAndCounts()
{
    TOrvRegistryData settings;
    QStringList lines{"  Language=3  ", "Size=big", "no equals sign"};
    settings.SetStringList(TOrvRegistryData::IntegerKind, lines);
    QCOMPARE(lines, (QStringList{"Language=3", "Size=big"}));
    QCOMPARE(settings.IntegerDataList(), (QStringList{"Language=3", "Size=0"}));

    settings.SetStringList(TOrvRegistryData::StringKind, lines);
    QCOMPARE(settings.StringDataList(), (QStringList{"Language=3", "Size=big"}));
    QCOMPARE(settings.GetCount(TOrvRegistryData::StringKind), 2);
    QCOMPARE(settings.GetCount(TOrvRegistryData::IntegerKind), 2);
    QCOMPARE(settings.GetCount(3), 0);
    settings.SetStringList(3, lines);
    QCOMPARE(settings.GetCount(TOrvRegistryData::StringKind), 2);
}

void TestOrvRegistryData::deletingFromTheStore()
{
    auto settings = MainWindowSettings();
    settings->DeleteIntegerValue("Language", true);
    QVERIFY(!QFile::exists(m_fileName)); // no store is created to delete from
    QCOMPARE(settings->GetCount(TOrvRegistryData::IntegerKind), 0);

    settings = MainWindowSettings();
    settings->SetStringDataList({"Port=COM1"});
    QVERIFY(settings->SaveData());
    settings->DeleteIntegerValue("Language", true);
    settings->DeleteStringValue("Port", false);
    settings->DeleteStringValue("", true);
    const QSettings store(m_fileName, QSettings::IniFormat);
    QCOMPARE(store.allKeys(), QStringList{"Port"});
    QCOMPARE(settings->GetCount(TOrvRegistryData::StringKind), 0);
}

void TestOrvRegistryData::noKeyNameNoStore()
{
    TOrvRegistryData settings;
    settings.SetIntegerDataList({"Language=1"});
    QVERIFY(!settings.LoadData());
    QVERIFY(!settings.SaveData());
    QCOMPARE(settings.GetIntData("Language"), 1);
}

QTEST_GUILESS_MAIN(TestOrvRegistryData)
#include "tst_orvregistrydata.moc"
