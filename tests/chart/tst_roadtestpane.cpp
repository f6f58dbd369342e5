// The chart window's road-test pane against the simulated unit: a replayed log
// is checked against the unit's configuration, the ticked suggestions go to the
// unit as one step of the configuration window's history and are read back,
// and the report is written with the workshop the fitter gives.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "chart/ChartDialogs.h"
#include "chart/FormChart.h"
#include "chart/RoadTestPane.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "tests/common/EngineLog.h"
#include "undo/UndoRecorder.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

constexpr int DefaultPositionByte = 168;
constexpr int MaximumByte = 207;

class FakeChartDialogs : public TChartDialogs {
public:
    QString reportFile;
    QString GetLogFileName(QWidget*, const QString&, const QString&) override { return QString(); }
    QString GetLogFolder(QWidget*, const QString&, const QString&) override { return QString(); }
    bool GetMarkerNote(QWidget*, const QString&, const QString&, QString&) override { return false; }
    QString GetReportFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return reportFile;
    }
    bool GetWorkshop(QWidget*, const QString&, const QString&, const QString&, QString& name,
                     QString& address) override
    {
        name = QStringLiteral("Officina Rossi");
        address = QStringLiteral("Via Roma 12\n20100 Milano");
        return true;
    }
};

QStringList Column(const QTableWidget* table, int column)
{
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return cells;
}

} // namespace

class TestRoadTestPane : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void replayedLogIsChecked();
    void tickedSuggestionsAreOneStepOfTheHistory();
    void nothingIsWrittenWithoutAUnit();
    void reportIsWritten();

private:
    // The chart window replaying the log of that engine behaviour.
    std::unique_ptr<TFormChart> Replay(const QString& behaviour);

    QTemporaryDir m_folder;
    SimUnitControl* m_sim = nullptr;
    std::unique_ptr<FakePrompts> m_prompts;
    std::unique_ptr<TSerialDataModule> m_module;
    std::unique_ptr<TUndoRecorder> m_recorder;
    FakeChartDialogs m_dialogs;
    TOrvRegistryData m_settings;
};

void TestRoadTestPane::initTestCase()
{
    QVERIFY(WriteEngineLog(m_folder.filePath("far-default.csv"), EngineBehaviour::FarDefault, 150000));
}

void TestRoadTestPane::init()
{
    m_sim = FreshSimUnit();
    m_prompts = std::make_unique<FakePrompts>();
    m_module = std::make_unique<TSerialDataModule>();
    m_module->SetPrompts(m_prompts.get());
    m_module->ApplyDefaults();
    m_recorder = std::make_unique<TUndoRecorder>(m_module.get());
}

void TestRoadTestPane::cleanup()
{
    m_recorder.reset();
    m_module->SetPrompts(nullptr);
    m_module.reset();
    m_prompts.reset();
    ResourceLibrary::Free();
}

std::unique_ptr<TFormChart> TestRoadTestPane::Replay(const QString& behaviour)
{
    auto chart = std::make_unique<TFormChart>(m_module.get(), &m_settings, &m_dialogs);
    chart->SetUndoRecorder(m_recorder.get());
    if (!chart->OpenLog(m_folder.filePath(behaviour + ".csv")))
        return nullptr;
    return chart;
}

// Opening a log checks it: each verdict is a word and a sign on its colour.
void TestRoadTestPane::replayedLogIsChecked()
{
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    const auto chart = Replay("far-default");
    QVERIFY(chart);
    const QTableWidget* criteria = chart->RoadTest()->CriteriaTable();
    QCOMPARE(Column(criteria, 1),
             QStringList({"✔ Pass", "✔ Pass", "✔ Pass", "! Warning", "✘ Fail", "! Warning", "✔ Pass"}));
    QCOMPARE(criteria->item(4, 1)->background().color(), QColor(0xf5, 0xc1, 0xc1));
    QCOMPARE(criteria->item(5, 2)->text(), QStringLiteral("134 / 100"));
    const QTableWidget* suggestions = chart->RoadTest()->SuggestionsTable();
    QCOMPARE(Column(suggestions, 1), QStringList{"100"});
    QCOMPARE(Column(suggestions, 2), QStringList{"134"});
    QCOMPARE(suggestions->item(0, 0)->checkState(), Qt::Checked);
}

// Two suggestions (the default position, and the maximum the loop runs into
// once it is lowered) are written together, undone together, and read back.
void TestRoadTestPane::tickedSuggestionsAreOneStepOfTheHistory()
{
    QVERIFY(m_sim->writeMemory(MaximumByte, 130));
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    const auto chart = Replay("far-default");
    QVERIFY(chart);
    TRoadTestPane* pane = chart->RoadTest();
    QCOMPARE(Column(pane->SuggestionsTable(), 2), QStringList({"130", "141"}));
    const int steps = m_recorder->Stack()->count();
    QVERIFY(pane->ApplyTicked());
    QCOMPARE(m_sim->readMemory(DefaultPositionByte), 130);
    QCOMPARE(m_sim->readMemory(MaximumByte), 141);
    QCOMPARE(m_recorder->Stack()->count(), steps + 1);
    // Without a language store the captions are the file keys.
    QCOMPARE(m_prompts->messages.last().text, QStringLiteral("The control unit now holds:\n"
                                                             "POSIZIONE DEFAULT FISSO: 130\n"
                                                             "MASSIMA APERTURA ATTUATORE: 141"));
    // Judged again against the values written.
    QCOMPARE(pane->Result().Criterion(TCriterionId::DefaultPosition)->b, 130.0);

    m_recorder->Stack()->undo();
    QCOMPARE(m_sim->readMemory(DefaultPositionByte), 100);
    QCOMPARE(m_sim->readMemory(MaximumByte), 130);

    // Untick one: only the other is written.
    pane->Check();
    pane->SetTicked(1, false);
    QVERIFY(pane->ApplyTicked());
    QCOMPARE(m_sim->readMemory(DefaultPositionByte), 130);
    QCOMPARE(m_sim->readMemory(MaximumByte), 130);
}

void TestRoadTestPane::nothingIsWrittenWithoutAUnit()
{
    const auto chart = Replay("far-default");
    QVERIFY(chart);
    m_sim->clearLog();
    QVERIFY(!chart->RoadTest()->ApplyTicked());
    QCOMPARE(m_prompts->messages.last().text,
             QStringLiteral("No control unit is connected: the suggestions cannot be applied."));
    QCOMPARE(m_sim->readMemory(DefaultPositionByte), 100);
    QCOMPARE(m_recorder->Stack()->count(), 0);
}

void TestRoadTestPane::reportIsWritten()
{
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
    const auto chart = Replay("far-default");
    QVERIFY(chart);
    m_dialogs.reportFile = m_folder.filePath("report.pdf");
    QVERIFY(chart->RoadTest()->WriteReport());
    QVERIFY(QFileInfo(m_dialogs.reportFile).size() > 10000);
    QCOMPARE(m_settings.GetStringData("WorkshopName"), QStringLiteral("Officina Rossi"));
    // Cancelled at the file: nothing written.
    m_dialogs.reportFile.clear();
    QVERIFY(!chart->RoadTest()->WriteReport());
}

QTEST_MAIN(TestRoadTestPane)
#include "tst_roadtestpane.moc"
