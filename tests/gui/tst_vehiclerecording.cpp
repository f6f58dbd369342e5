// The current vehicle of the windows: what the main window's operations record
// on it, a record that fails beside an operation that succeeds, and the
// question after a connect, closest vehicle first.

#include "../common/FakePrompts.h"
#include "../common/RecordedVehicle.h"
#include "../common/SimUnit.h"
#include "FakeFileDialogs.h"
#include "FakeVehicleDialogs.h"
#include "app/CurrentVehicleButton.h"
#include "app/FormMain.h"
#include "app/VehicleSession.h"
#include "model/ProgramSetup.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "model/VehicleRecorder.h"
#include "records/RecordsDatabase.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestVehicleRecording : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowOperationsAreRecordedOnTheCurrentVehicle();
    void withoutAVehicleNothingIsRecorded();
    void recordThatFailsLeavesTheOperationDone_data();
    void recordThatFailsLeavesTheOperationDone();
    void connectAsksClosestVehicleFirst();
    void connectWithEmptyRecordsAsksNothing();
    void statusBarChangesTheVehicle();

private:
    void MakeWindow(const QString& databaseSetting);
    QList<TTimelineEntry> Entries(const TVehicle& vehicle);
    void Connect();
    QString Text(int index) const { return m_module->Translator()->GetString(index, 0); }

    QTemporaryDir m_folder;
    SimUnitControl* m_sim = nullptr;
    std::unique_ptr<FakePrompts> m_prompts;
    std::unique_ptr<FakeFileDialogs> m_dialogs;
    std::unique_ptr<FakeVehicleDialogs> m_vehicleDialogs;
    std::unique_ptr<TSerialDataModule> m_module;
    std::unique_ptr<TFormMain> m_window;
    std::unique_ptr<TRecordsDatabase> m_records; // the test's own connection to the same records
};

void TestVehicleRecording::init()
{
    m_sim = FreshSimUnit();
    m_prompts = std::make_unique<FakePrompts>();
    m_dialogs = std::make_unique<FakeFileDialogs>();
    m_vehicleDialogs = std::make_unique<FakeVehicleDialogs>();
    m_module = std::make_unique<TSerialDataModule>();
    m_module->SetPrompts(m_prompts.get());
    QFile::remove(m_folder.filePath("records.sqlite"));
    TDatabaseUrl url;
    url.path = m_folder.filePath("records.sqlite");
    m_records = std::make_unique<TRecordsDatabase>(url, QStringLiteral("test bench"));
    QVERIFY2(m_records->Open(), qPrintable(m_records->Error()));
}

void TestVehicleRecording::cleanup()
{
    // The settings outlive the window: the next test names its own records.
    if (m_window)
        m_window->OrvRegistryData()->SetStringData(QLatin1String(ProgramSetup::RecordsSetting::Database),
                                                   QString());
    m_window.reset();
    m_module.reset();
    m_records.reset();
    ResourceLibrary::Free();
}

void TestVehicleRecording::MakeWindow(const QString& databaseSetting)
{
    m_window = std::make_unique<TFormMain>(m_module.get(), 800);
    m_window->SetFileDialogs(m_dialogs.get());
    m_window->VehicleButton()->SetDialogs(m_vehicleDialogs.get());
    m_window->OrvRegistryData()->SetStringData(QLatin1String(ProgramSetup::RecordsSetting::Database),
                                               databaseSetting);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QList<TTimelineEntry> TestVehicleRecording::Entries(const TVehicle& vehicle)
{
    TVehicleTimeline timeline(*m_records);
    bool ok = false;
    const QList<TTimelineEntry> entries = timeline.Entries(vehicle.id, {}, &ok);
    if (!ok)
        qWarning("%s", qPrintable(timeline.Error()));
    return entries;
}

void TestVehicleRecording::Connect()
{
    m_window->Connect();
    QCoreApplication::processEvents(); // the link state arrives through the queue
}

// Save and load from the main window, with a vehicle current: each is on its
// timeline with its file, the load with the backup it made first.
void TestVehicleRecording::windowOperationsAreRecordedOnTheCurrentVehicle()
{
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath("records.sqlite"));
    const TVehicle car = AddRecordedVehicle(*m_records, QStringLiteral("AB123CD"));
    Connect();
    m_window->Vehicles()->SetVehicle(car);
    m_dialogs->answer = m_folder.filePath("car.tcn");
    m_window->SaveFile();
    m_sim->writeMemory(204, 40);
    m_window->LoadFile();
    QCOMPARE(m_sim->readMemory(204), 80); // the load itself was done

    QList<TTimelineKind> kinds;
    for (const TTimelineEntry& entry : Entries(car))
        kinds << entry.kind;
    // Newest first: the load, the backup the load made, the save.
    QCOMPARE(kinds, (QList<TTimelineKind>{TTimelineKind::Load, TTimelineKind::Backup, TTimelineKind::Save}));
    TTimelineEntry saved;
    QVERIFY(TVehicleTimeline(*m_records).Read(Entries(car).last().id, saved));
    QCOMPARE(saved.fileName, QStringLiteral("car.tcn"));
    QFile file(m_dialogs->answer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(saved.payload, file.readAll());
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestVehicleRecording::withoutAVehicleNothingIsRecorded()
{
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath("records.sqlite"));
    const TVehicle car = AddRecordedVehicle(*m_records, QStringLiteral("AB123CD"));
    Connect(); // answered "cancelled": no vehicle is current
    QVERIFY(!m_window->Vehicles()->HasVehicle());
    m_dialogs->answer = m_folder.filePath("car.tcn");
    m_window->SaveFile();
    QVERIFY(QFile::exists(m_dialogs->answer));
    QVERIFY(Entries(car).isEmpty());
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestVehicleRecording::recordThatFailsLeavesTheOperationDone_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<bool>("vehicleGone");
    QTest::newRow("records that are no database") << QStringLiteral("not-a-database.sqlite") << false;
    QTest::newRow("vehicle no longer recorded") << QStringLiteral("records.sqlite") << true;
}

// The save is done and said so; the fitter is told it is not recorded and why.
void TestVehicleRecording::recordThatFailsLeavesTheOperationDone()
{
    QFETCH(QString, records);
    QFETCH(bool, vehicleGone);
    QFile garbage(m_folder.filePath("not-a-database.sqlite"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath(records));
    TVehicle car = AddRecordedVehicle(*m_records, QStringLiteral("AB123CD"));
    if (vehicleGone) {
        QVERIFY(m_records->Run(QStringLiteral("DELETE FROM vehicles"), QString()));
    }
    Connect();
    m_window->Vehicles()->SetVehicle(car);
    m_dialogs->answer = m_folder.filePath("car.tcn");
    m_window->SaveFile();

    QVERIFY(QFile::exists(m_dialogs->answer));
    QCOMPARE(m_prompts->messages.size(), 1);
    const QString told = m_prompts->messages.first().text;
    QVERIFY2(told.startsWith(Text(TextIndex::NotRecordedOnVehicle).section(u'%', 0, 0)), qPrintable(told));
    QVERIFY(told.contains(QStringLiteral("AB123CD")));
    QVERIFY(told.section(u'\n', 1).size() > 0); // the reason
}

// Three vehicles: BB with the unit's own configuration, AA one value away, CC
// without any. The question lists them by closeness, not by plate; the one
// chosen is current, named in the status bar, and has the connect recorded.
void TestVehicleRecording::connectAsksClosestVehicleFirst()
{
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath("records.sqlite"));
    Connect(); // no vehicles yet: no question
    QVERIFY(m_vehicleDialogs->offered.isEmpty());
    const QString older = m_folder.filePath("older.tcn");
    QVERIFY(m_module->SaveConfiguration(older));
    m_window->Disconnect();
    QCoreApplication::processEvents();
    m_sim->writeMemory(204, 40);
    Connect();
    const QString now = m_folder.filePath("now.tcn");
    QVERIFY(m_module->SaveConfiguration(now));
    m_window->Disconnect();
    QCoreApplication::processEvents();

    const TVehicle aa = AddRecordedVehicle(*m_records, QStringLiteral("AA111"));
    const TVehicle bb = AddRecordedVehicle(*m_records, QStringLiteral("BB222"), QStringLiteral("Fiat"),
                                           QStringLiteral("Punto"));
    AddRecordedVehicle(*m_records, QStringLiteral("CC333"));
    // AA seen last: the closeness, not the last visit, puts BB first.
    for (const auto& [vehicle, file] : {std::pair(bb, now), std::pair(aa, older)}) {
        TVehicleRecorder recorder(*m_module, *m_records);
        recorder.SetVehicle(vehicle);
        QVERIFY(recorder.Attach(TTimelineKind::Configuration, file, QString()));
    }

    m_vehicleDialogs->answer = 0;
    Connect();
    QCOMPARE(m_vehicleDialogs->offered.size(), 1);
    QCOMPARE(m_vehicleDialogs->offered.first(), (QStringList{"BB222", "AA111", "CC333"}));
    QCOMPARE(m_vehicleDialogs->differences, (QList<int>{0, 1, -1}));
    QCOMPARE(m_window->Vehicles()->Vehicle().plate, QStringLiteral("BB222"));
    QVERIFY(m_window->VehicleButton()->text().contains(QStringLiteral("BB222 Fiat Punto")));
    QCOMPARE(Entries(bb).first().kind, TTimelineKind::Connect);
}

void TestVehicleRecording::connectWithEmptyRecordsAsksNothing()
{
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath("records.sqlite"));
    Connect();
    QVERIFY(m_module->IsUnitConnected());
    QVERIFY(m_vehicleDialogs->offered.isEmpty());
    QVERIFY(m_prompts->messages.isEmpty());
}

// A click on the status bar's vehicle asks again: a new vehicle is typed,
// recorded and made current; "no vehicle" clears it.
void TestVehicleRecording::statusBarChangesTheVehicle()
{
    MakeWindow(QStringLiteral("sqlite:") + m_folder.filePath("records.sqlite"));
    QCOMPARE(m_window->VehicleButton()->text(), Text(TextIndex::NoVehicle));
    m_vehicleDialogs->answer = TVehicleDialogs::NewVehicle;
    m_vehicleDialogs->typed.plate = QStringLiteral("ZZ-999 XY");
    m_vehicleDialogs->typed.make = QStringLiteral("Opel");
    QTest::mouseClick(m_window->VehicleButton(), Qt::LeftButton);
    TVehicle stored;
    bool found = false;
    QVERIFY(TVehicleStore(*m_records).Find(QStringLiteral("zz999xy"), stored, &found) && found);
    QCOMPARE(m_window->Vehicles()->Vehicle().id, stored.id);
    QVERIFY(m_window->VehicleButton()->text().contains(QStringLiteral("ZZ-999 XY Opel")));

    m_vehicleDialogs->answer = TVehicleDialogs::NoVehicle;
    QTest::mouseClick(m_window->VehicleButton(), Qt::LeftButton);
    QVERIFY(!m_window->Vehicles()->HasVehicle());
    QCOMPARE(m_window->VehicleButton()->text(), Text(TextIndex::NoVehicle));
}

QTEST_MAIN(TestVehicleRecording)
#include "tst_vehiclerecording.moc"
