// The constructed-wave dialog: the tri-state time's two-byte coding, the
// dialog against the simulated unit, and where it opens.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "app/FormOndaCostruita.h"
#include "controls/NumericEdit.h"
#include "controls/ValueEditEx.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/NumberText.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <limits>

namespace {

// Unit addresses of the wave.
constexpr int HighTime = 169;
constexpr int TriStateTicks = 171; // V
constexpr int Waves = 172;
constexpr int TriStateRepetitions = 173; // R

} // namespace

class TestFormOndaCostruita : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void triStateTimeCoding_data();
    void triStateTimeCoding();
    void showsTheUnitsWaveWhenOpened();
    void returnInTheTriStateFieldWritesBothBytes_data();
    void returnInTheTriStateFieldWritesBothBytes();
    void wavesCannotBeZeroWithATriStateTime_data();
    void wavesCannotBeZeroWithATriStateTime();
    void standardRestoresTheWaveOnlyWithAUnit();
    void escapeUndoesTypingBeforeItCloses_data();
    void escapeUndoesTypingBeforeItCloses();
    void opensCentredOnItsParent_data();
    void opensCentredOnItsParent();

private:
    void Open(bool connected = true);
    template <class Control> Control* Find(const char* name) const
    {
        return m_dialog->findChild<Control*>(QLatin1String(name));
    }

    SimUnitControl* m_sim = nullptr;
    FakePrompts* m_prompts = nullptr;
    TSerialDataModule* m_module = nullptr;
    TFormOndaCostruita* m_dialog = nullptr;
};

void TestFormOndaCostruita::init()
{
    m_sim = FreshSimUnit();
    m_prompts = new FakePrompts;
    m_module = new TSerialDataModule;
    m_module->SetPrompts(m_prompts);
}

void TestFormOndaCostruita::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
    delete m_module;
    delete m_prompts;
    ResourceLibrary::Free();
}

void TestFormOndaCostruita::Open(bool connected)
{
    if (connected)
        QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_dialog = new TFormOndaCostruita(m_module, 800);
    m_dialog->show();
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
}

// Typed time -> stored pair -> time shown when the dialog is next opened. The
// precisions of the coding decide the bytes, so this runs on the compiler's own
// extended type.
void TestFormOndaCostruita::triStateTimeCoding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("repetitions");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << "0" << 0 << 0 << "0";
    QTest::newRow("0.02: below one tick as a float") << "0.02" << 0 << 0 << "0";
    QTest::newRow("1") << "1" << 1 << 50 << "1";
    QTest::newRow("5.12: one tick short of a period") << "5.12" << 1 << 255 << "5.1";
    QTest::newRow("5.13: one whole period") << "5.13" << 1 << 0 << "5.12";
    QTest::newRow("10") << "10" << 2 << 243 << "9.98";
    QTest::newRow("100") << "100" << 20 << 135 << "99.98";
    QTest::newRow("600: the largest pair") << "600" << 118 << 47 << "599.98";
    QTest::newRow("700: held at 117 periods") << "700" << 117 << 0 << "599.04";
    QTest::newRow("beyond any float: held too") << "1e39" << 117 << 0 << "599.04";
    QTest::newRow("negative: nothing") << "-5" << 0 << 0 << "0";
}

void TestFormOndaCostruita::triStateTimeCoding()
{
    QFETCH(QString, typed);
    QFETCH(int, repetitions);
    QFETCH(int, ticks);
    QFETCH(QString, shown);
    QCOMPARE(std::numeric_limits<long double>::digits, 64); // the 80-bit extended type
    double seconds = 0;
    QVERIFY(ParseNumberText(typed, seconds));
    const TTriStateTime stored = EncodeTriStateTime(static_cast<float>(seconds));
    QCOMPARE(stored.repetitions, repetitions);
    QCOMPARE(stored.ticks, ticks);
    QCOMPARE(GeneralNumberText(DecodeTriStateTime(repetitions, ticks)), shown);
}

void TestFormOndaCostruita::showsTheUnitsWaveWhenOpened()
{
    m_sim->writeMemory(TriStateRepetitions, 0); // a pair the dialog never writes still decodes
    m_sim->writeMemory(TriStateTicks, 100);
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    m_sim->writeMemory(HighTime, 25); // changed behind the program's back: the dialog reads afresh
    Open(false);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Costruzione Onda"));
    QCOMPARE(Find<TValueEditEx>("OrvValEditNVolteAlto")->text(), QStringLiteral("0.5"));
    QCOMPARE(Find<TValueEditEx>("OrvValEditNVolteAlto")->EditLabel()->Caption(),
             m_module->Translator()->GetString(TextIndex::WaveHighTime, 0));
    QCOMPARE(Find<QLabel>("LabelTempoTristate")->text(),
             m_module->Translator()->GetString(TextIndex::DisconnectedProbeTime, 0));
    QCOMPARE(Find<TNumericEdit>("NumericEditSondaSconnessa")->text(), QStringLiteral("-3.11"));
}

void TestFormOndaCostruita::returnInTheTriStateFieldWritesBothBytes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("writes"); // address, value, ...
    QTest::addColumn<QString>("shown");
    // With ticks, the whole periods go first and are completed after the ticks.
    QTest::newRow("10") << "10" << QList<int>{173, 1, 171, 243, 173, 2} << "10";
    // The text as typed reaches the unit; the field then holds its own maximum.
    QTest::newRow("700") << "700" << QList<int>{173, 117, 171, 0} << "600";
}

void TestFormOndaCostruita::returnInTheTriStateFieldWritesBothBytes()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, writes);
    QFETCH(QString, shown);
    Open();
    auto* field = Find<TNumericEdit>("NumericEditSondaSconnessa");
    field->setFocus();
    field->selectAll();
    m_sim->clearLog();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Return);

    QList<int> written;
    const QRegularExpression write(QStringLiteral("^WriteAtAddress \\d+ (\\d+) (\\d+)$"));
    for (const QString& line : SimLog(m_sim)) {
        const QRegularExpressionMatch match = write.match(line);
        if (match.hasMatch())
            written << match.captured(1).toInt() << match.captured(2).toInt();
    }
    QCOMPARE(written, writes);
    QCOMPARE(field->text(), shown);
    QVERIFY(Find<TValueEditEx>("OrvValueEditNumeroOnde")->hasFocus());
}

void TestFormOndaCostruita::wavesCannotBeZeroWithATriStateTime_data()
{
    QTest::addColumn<int>("repetitions");
    QTest::addColumn<int>("stored");
    QTest::newRow("tri-state time set: one wave") << 2 << 1;
    QTest::newRow("no tri-state time: none") << 0 << 0;
}

void TestFormOndaCostruita::wavesCannotBeZeroWithATriStateTime()
{
    QFETCH(int, repetitions);
    QFETCH(int, stored);
    m_sim->writeMemory(TriStateRepetitions, repetitions);
    m_sim->writeMemory(Waves, 5);
    Open();
    auto* waves = Find<TValueEditEx>("OrvValueEditNumeroOnde");
    waves->setFocus();
    QTest::keyClicks(waves, "0"); // replaces the selected text
    QTest::keyClick(waves, Qt::Key_Return);
    QCOMPARE(m_sim->readMemory(Waves), stored);
}

void TestFormOndaCostruita::standardRestoresTheWaveOnlyWithAUnit()
{
    m_sim->writeMemory(HighTime, 25);
    m_sim->writeMemory(TriStateRepetitions, 3);
    m_sim->writeMemory(TriStateTicks, 7);
    Open(false);
    auto* field = Find<TNumericEdit>("NumericEditSondaSconnessa");
    const QString shownBefore = field->text();
    Find<QPushButton>("ButtonStandard")->click();
    QCOMPARE(field->text(), shownBefore);
    QVERIFY(m_prompts->messages.isEmpty());

    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    Find<QPushButton>("ButtonStandard")->click();
    for (int address : {HighTime, 170, Waves, TriStateTicks, TriStateRepetitions})
        QCOMPARE(m_sim->readMemory(address), m_sim->factoryByte(address));
    QCOMPARE(field->text(), QStringLiteral("0"));
    QCOMPARE(Find<TValueEditEx>("OrvValEditNVolteAlto")->text(), QStringLiteral("0.36"));
}

void TestFormOndaCostruita::escapeUndoesTypingBeforeItCloses_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("value edit") << "OrvValEditNVolteAlto";
    QTest::newRow("numeric edit") << "NumericEditSondaSconnessa";
}

void TestFormOndaCostruita::escapeUndoesTypingBeforeItCloses()
{
    QFETCH(QString, field);
    Open();
    // The field takes its value on focus-in, which arrives once the dialog is active.
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    auto* edit = m_dialog->findChild<QLineEdit*>(field);
    edit->setFocus();
    QCoreApplication::processEvents();
    const QString shown = edit->text();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, "7");
    QVERIFY(edit->text() != shown);

    // The first Escape only takes the typing back (the dialog has no cancel button).
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), shown);
    QVERIFY(m_dialog->isVisible());
    // With nothing left to undo, Escape closes the dialog as before.
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
}

// At the design width and scaled for a wider screen, the dialog opens over
// the middle of its parent, not at the screen's corner.
void TestFormOndaCostruita::opensCentredOnItsParent_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::newRow("design width") << 800;
    QTest::newRow("scaled") << 1280;
}

void TestFormOndaCostruita::opensCentredOnItsParent()
{
    QFETCH(int, screenWidth);
    QWidget parent;
    parent.setGeometry(QGuiApplication::primaryScreen()->availableGeometry().adjusted(20, 20, -20, -20));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    m_dialog = new TFormOndaCostruita(m_module, screenWidth, &parent);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    const QPoint offset = m_dialog->frameGeometry().center() - parent.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() < 40,
             qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
    delete m_dialog;
    m_dialog = nullptr;
}

QTEST_MAIN(TestFormOndaCostruita)
#include "tst_formondacostruita.moc"
