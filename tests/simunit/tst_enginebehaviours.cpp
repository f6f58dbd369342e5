// The simulated engine's behaviours, judged by the road-test check end to end:
// a log made from the engine model's packets over two and a half cycles from
// its start, as 'unit live --output' records it, with the factory memory.

#include "datalog/LiveChannels.h"
#include "datalog/SampleRing.h"
#include "roadtest/RoadTestCheck.h"
#include "roadtest/RoadTestText.h"
#include "simunit/EngineModel.h"
#include "simunit/FactoryMemory.h"
#include "tests/common/RoadTestFactory.h"

#include <QTest>

namespace {

constexpr int SampleMs = 100;
constexpr int LogMs = 150000;

double Volts(uint8_t byte)
{
    return byte * 5.0 / 255.0;
}

TSampleRing Record(EngineBehaviour behaviour)
{
    TSampleRing ring(LiveChannel::Count);
    const auto& memory = FactoryMemory::bytes();
    for (int t = 0; t <= LogMs; t += SampleMs) {
        const EngineSample s = EngineModel::Sample(t, memory.data(), behaviour);
        std::vector<double> v(LiveChannel::Count);
        v[LiveChannel::Rpm] = s.phase == EnginePhase::Stopped ? 0 : s.rpm;
        v[LiveChannel::Lambda] = Volts(s.packet[LivePacket::Lambda]);
        v[LiveChannel::Tps] = Volts(s.packet[LivePacket::Tps]);
        v[LiveChannel::TpsIdle] = Volts(s.packet[LivePacket::TpsIdle]);
        v[LiveChannel::Actuator] = s.packet[LivePacket::Actuator];
        v[LiveChannel::DefaultPosition] = s.packet[LivePacket::DefaultPosition];
        v[LiveChannel::LambdaBand] = s.packet[LivePacket::LambdaBand];
        v[LiveChannel::TpsBand] = s.packet[LivePacket::TpsBand];
        v[LiveChannel::Temperature] = s.temperatureC;
        ring.Append(t / 1000.0, v.data());
    }
    return ring;
}

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
    // limit the loop runs lean while idling; the default position drifts up a
    // little as the unit learns, so the loop settles 37 steps above 100.
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("healthy") << EngineBehaviour::Healthy << QStringList();
    QTest::newRow("lean") << EngineBehaviour::Lean
                          << QStringList{"lambda-switching fail", "mixture-balance fail", "actuator-authority fail",
                                         "default-position warn", "inspect gas supply"};
    QTest::newRow("dead sensor") << EngineBehaviour::DeadSensor
                                 << QStringList{"lambda-switching fail", "default-position warn",
                                                "inspect lambda sensor"};
    QTest::newRow("far default") << EngineBehaviour::FarDefault
                                 << QStringList{"mixture-balance warn", "actuator-authority fail",
                                                "default-position warn", "POSIZIONE_DEFAULT 100 137"};
}

void TestEngineBehaviours::checkFindsEachBehaviour()
{
    QFETCH(EngineBehaviour, behaviour);
    QFETCH(QStringList, lines);
    const TRoadTestResult result = TRoadTestCheck(FactoryRoadTestSettings()).Run(Record(behaviour));
    QVERIFY(result.judged);
    QStringList found;
    for (const TCriterionResult& criterion : result.criteria) {
        if (criterion.verdict != TVerdict::Pass)
            found << TRoadTestText::Identifier(criterion.id) + u' ' + TRoadTestText::Identifier(criterion.verdict);
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
