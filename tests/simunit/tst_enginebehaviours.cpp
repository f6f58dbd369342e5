// The simulated engine's behaviours, judged by the road-test check end to end:
// a log made from the engine model's packets over two and a half cycles from
// its start, as 'unit live --output' records it, with the factory memory.

#include "roadtest/RoadTestCheck.h"
#include "roadtest/RoadTestText.h"
#include "tests/common/EngineLog.h"
#include "tests/common/RoadTestFactory.h"

#include <QTest>

namespace {
constexpr int LogMs = 150000;
} // namespace

Q_DECLARE_METATYPE(EngineBehaviour)

class TestEngineBehaviours : public QObject {
    Q_OBJECT

private slots:
    void namesGoBothWays();
    void checkFindsEachBehaviour_data();
    void checkFindsEachBehaviour();
};

void TestEngineBehaviours::namesGoBothWays()
{
    for (const EngineBehaviour behaviour : {EngineBehaviour::Healthy, EngineBehaviour::Lean,
                                            EngineBehaviour::DeadSensor, EngineBehaviour::FarDefault}) {
        EngineBehaviour read = EngineBehaviour::Healthy;
        QVERIFY(EngineModel::BehaviourFromName(EngineModel::BehaviourName(behaviour), &read));
        QCOMPARE(read, behaviour);
    }
    EngineBehaviour read = EngineBehaviour::Lean;
    QVERIFY(!EngineModel::BehaviourFromName("sick", &read));
    QCOMPARE(read, EngineBehaviour::Lean);
}

void TestEngineBehaviours::checkFindsEachBehaviour_data()
{
    QTest::addColumn<EngineBehaviour>("behaviour");
    // The criteria that do not pass, then the suggestions. Held at its idle
    // limit the loop runs lean while idling.
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("healthy") << EngineBehaviour::Healthy << QStringList();
    QTest::newRow("lean") << EngineBehaviour::Lean
                          << QStringList{"lambda-switching fail",   "mixture-balance fail",
                                         "actuator-authority fail", "default-position warn",
                                         "inspect gas supply",      "MassimaAperturaAlMinimo 25 47"};
    QTest::newRow("dead sensor") << EngineBehaviour::DeadSensor
                                 << QStringList{"lambda-switching fail", "default-position warn",
                                                "inspect lambda sensor"};
    QTest::newRow("far default") << EngineBehaviour::FarDefault
                                 << QStringList{"mixture-balance warn", "actuator-authority fail",
                                                "default-position warn", "POSIZIONE_DEFAULT 100 134"};
}

void TestEngineBehaviours::checkFindsEachBehaviour()
{
    QFETCH(EngineBehaviour, behaviour);
    QFETCH(QStringList, lines);
    const TRoadTestResult result = TRoadTestCheck(FactoryRoadTestSettings()).Run(EngineLog(behaviour, LogMs));
    QVERIFY(result.judged);
    QStringList found;
    for (const TCriterionResult& criterion : result.criteria) {
        if (criterion.verdict != TVerdict::Pass)
            found << TRoadTestText::Identifier(criterion.id) + u' ' +
                         TRoadTestText::Identifier(criterion.verdict);
    }
    for (const TSuggestion& s : result.suggestions) {
        if (s.Changes())
            found << QStringLiteral("%1 %2 %3").arg(s.item).arg(s.current).arg(s.proposed);
        else if (s.kind == TSuggestionKind::InspectGasSupply)
            found << QStringLiteral("inspect gas supply");
        else if (s.kind == TSuggestionKind::InspectLambdaSensor)
            found << QStringLiteral("inspect lambda sensor");
        else
            found << QStringLiteral("inspect %1").arg(int(s.kind));
    }
    QCOMPARE(found, lines);
}

QTEST_GUILESS_MAIN(TestEngineBehaviours)
#include "tst_enginebehaviours.moc"
