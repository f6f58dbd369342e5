// Undo and redo of the user's changes on the simulated unit: one step gives the
// unit's bytes back exactly, follow-on writes of the rules included; the
// history tells each step in the fitter's words (the language store's string i
// reads "T<i>").

#include "../common/TestModule.h"
#include "items/OrvNumber.h"
#include "model/FitterWords.h"
#include "model/SerialDataModule.h"
#include "undo/UndoRecorder.h"
#include "undo/ValueChangeCommand.h"

#include <QTest>
#include <QUndoStack>

class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void undoOfAChangeRestoresEveryByteItWrote_data();
    void undoOfAChangeRestoresEveryByteItWrote();
    void repeatedEditsOfOneItemAreOneStep();
    void historyTellsTheChangeInTheFittersWords_data();
    void historyTellsTheChangeInTheFittersWords();
    void loadsAreNoEdits();

private:
    QList<int> Memory() const;

    std::unique_ptr<TestModule> m_test;
    TSerialDataModule* m_module = nullptr;
    std::unique_ptr<TUndoRecorder> m_recorder;
};

void TestUndo::init()
{
    m_test = std::make_unique<TestModule>();
    QVERIFY(m_test->textsLoaded);
    m_module = &m_test->module;
    m_module->ApplyDefaults();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_recorder = std::make_unique<TUndoRecorder>(m_module);
}

void TestUndo::cleanup()
{
    m_recorder.reset();
    m_test.reset();
}

QList<int> TestUndo::Memory() const
{
    QList<int> bytes;
    for (int address = 0; address < 256; ++address)
        bytes << m_test->sim->readMemory(address);
    return bytes;
}

void TestUndo::undoOfAChangeRestoresEveryByteItWrote_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("addresses"); // bytes the change must write
    // The ignition type rescales the engine speeds.
    QTest::newRow("ignition type") << "TIPO_ACCENSIONE" << 3 << QList<int>{163, 213, 204, 225, 223};
    // A lower actuator maximum pulls the cut-off position down with it.
    QTest::newRow("actuator maximum") << "MASSIMA_APERTURA_ATTUATORE" << 100 << QList<int>{207, 206};
}

void TestUndo::undoOfAChangeRestoresEveryByteItWrote()
{
    QFETCH(QString, item);
    QFETCH(int, value);
    QFETCH(QList<int>, addresses);
    SimUnitControl* sim = m_test->sim;
    sim->writeMemory(206, 200); // a cut-off position above the new maximum
    m_module->ReloadAllItems();
    const QList<int> before = Memory();
    const int original = m_module->Number(item)->GetInt();

    QVERIFY(m_module->Number(item)->SetInt(value));
    const QList<int> after = Memory();
    for (int address : addresses)
        QVERIFY2(after[address] != before[address], qPrintable(QString::number(address)));
    QCOMPARE(m_recorder->Stack()->count(), 1);

    m_recorder->Stack()->undo();
    QCOMPARE(Memory(), before);
    QCOMPARE(m_module->Number(item)->GetInt(), original);
    m_recorder->Stack()->redo();
    QCOMPARE(Memory(), after);
    m_recorder->Stack()->undo();
    QCOMPARE(Memory(), before);
    QVERIFY(m_test->prompts.messages.isEmpty());
}

void TestUndo::repeatedEditsOfOneItemAreOneStep()
{
    const QList<int> before = Memory();
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2000));
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2500));
    QCOMPARE(m_recorder->Stack()->count(), 1);
    QVERIFY(m_recorder->Stack()->text(0).endsWith("  T80: 1500 RPM → 2500 RPM"));
    QVERIFY(m_module->Number("GiriSbananata")->SetInt(4000));
    QCOMPARE(m_recorder->Stack()->count(), 2);

    m_recorder->Stack()->undo();
    m_recorder->Stack()->undo();
    QCOMPARE(Memory(), before);
    // The values the module shows follow the unit.
    QCOMPARE(m_module->Number("GiriCutOff")->GetInt(), 1500);
}

// The item's caption, the option's text or the value with its unit, before →
// after; the engine speeds the ignition type's rule rewrote on its new scale
// under it, each with the speed it keeps.
void TestUndo::historyTellsTheChangeInTheFittersWords_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("followOns");

    QTest::newRow("number") << "GiriCutOff" << 2500 << "T80: 1500 RPM → 2500 RPM" << QStringList();
    QTest::newRow("option") << "TIPO_SEGNALE_GIRI" << 1 << "T34: T35 → T36" << QStringList();
    QTest::newRow("flag") << "FLAG_CONFIGURAZIONE_2" << 8 << "T88: T544 → T543" << QStringList();
    QTest::newRow("engine speeds rescaled") << "TIPO_ACCENSIONE" << 2 << "T27: T32 → T30"
                                            << QStringList{"T41: 2000 RPM (T630)", "T631: 3600 RPM (T630)",
                                                           "T80: 1500 RPM (T630)", "T87: 20000 RPM (T630)"};
}

void TestUndo::historyTellsTheChangeInTheFittersWords()
{
    QFETCH(QString, item);
    QFETCH(int, value);
    QVERIFY(m_module->Number(item)->SetInt(value));
    QCOMPARE(m_recorder->Stack()->count(), 1);
    const auto* command = dynamic_cast<const TValueChangeCommand*>(m_recorder->Stack()->command(0));
    QVERIFY(command);
    const THistoryEntry entry = command->Entry(TFitterWords(*m_module->Translator()));
    QTEST(entry.change, "change");
    QTEST(entry.followOns, "followOns");
}

void TestUndo::loadsAreNoEdits()
{
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2500));
    const QString file = m_test->folder.filePath("a.tcn");
    QVERIFY(m_module->SaveConfiguration(file));
    QVERIFY(m_module->EraseConfiguration());
    QVERIFY(m_module->LoadConfiguration(file));
    // The history starts again: what it held belongs to a configuration that is gone.
    QCOMPARE(m_recorder->Stack()->count(), 0);
}

QTEST_GUILESS_MAIN(TestUndo)
#include "tst_undo.moc"
