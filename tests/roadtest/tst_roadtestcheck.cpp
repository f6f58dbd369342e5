// The road-test check over small generated logs with known answers: each
// criterion's verdict on both sides of its thresholds, the suggestions with
// their proposed values, and the logs that give no verdict.

#include "datalog/LiveChannels.h"
#include "datalog/SampleRing.h"
#include "roadtest/RoadTestCheck.h"
#include "roadtest/RoadTestText.h"
#include "tests/common/RoadTestFactory.h"

#include <QTest>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double SampleStep = 0.1; // 10 samples a second, as the unit sends them

// A stretch of driving. The lambda band goes lean, through the band, rich and
// through the band again once per period (lean and rich give the shares of
// each period); a period of 0 holds `band`. The actuator swings around its
// centre in step with the mixture.
struct Segment {
    enum Phase { Idle, Cruise, Full, Stopped, SpeedLost };
    Phase phase = Cruise;
    double seconds = 10;
    double period = 1;
    double lean = 0.45;
    double rich = 0.45;
    int band = LiveChannel::InBand;
    double actuator = 100;
    double swing = 4;
    double temperature = 85;
};

Segment Make(Segment::Phase phase, double seconds, double period = 1)
{
    Segment segment;
    segment.phase = phase;
    segment.seconds = seconds;
    segment.period = phase == Segment::Idle ? 1.2 * period : 0.8 * period;
    return segment;
}

Segment With(Segment segment, const std::function<void(Segment&)>& change)
{
    change(segment);
    return segment;
}

int BandAt(const Segment& s, double t)
{
    if (s.period <= 0)
        return s.band;
    const double x = std::fmod(t, s.period) / s.period;
    const double gap = (1 - s.lean - s.rich) / 2;
    if (x < s.lean)
        return LiveChannel::Lean;
    if (x < s.lean + gap)
        return LiveChannel::InBand;
    if (x < s.lean + gap + s.rich)
        return LiveChannel::Rich;
    return LiveChannel::InBand;
}

TSampleRing MakeLog(const QList<Segment>& segments)
{
    TSampleRing ring(LiveChannel::Count);
    int n = 0;
    for (const Segment& s : segments) {
        const int count = int(std::lround(s.seconds / SampleStep));
        for (int i = 0; i < count; ++i, ++n) {
            const double t = i * SampleStep;
            std::vector<double> v(LiveChannel::Count, 0.0);
            const bool running = s.phase != Segment::Stopped && s.phase != Segment::SpeedLost;
            v[LiveChannel::Rpm] = !running                   ? 0
                                  : s.phase == Segment::Idle ? 850
                                  : s.phase == Segment::Full ? 4500
                                                             : 2600;
            v[LiveChannel::Tps] = s.phase == Segment::Full                                  ? 4.6
                                  : s.phase == Segment::Idle || s.phase == Segment::Stopped ? 0.6
                                                                                            : 1.6;
            v[LiveChannel::TpsIdle] = 0.6;
            v[LiveChannel::LambdaBand] = running ? BandAt(s, t) : LiveChannel::Lean;
            v[LiveChannel::Lambda] = v[LiveChannel::LambdaBand] * 0.4 + 0.1;
            v[LiveChannel::Actuator] =
                std::round(s.actuator + (s.period > 0 ? s.swing * std::cos(2 * Pi * t / s.period) : 0));
            v[LiveChannel::DefaultPosition] = 100;
            v[LiveChannel::Temperature] = s.temperature;
            ring.Append(n * SampleStep, v.data());
        }
    }
    return ring;
}

TRoadTestParameter Parameter(double value, double step, double min, double max)
{
    return RoadTestParameter(value, step, min, max);
}

TRoadTestSettings FactorySettings()
{
    return FactoryRoadTestSettings();
}

// A healthy drive: idle, cruise, full throttle, idle again (110 s of closed loop).
QList<Segment> Healthy()
{
    return {Make(Segment::Idle, 30), Make(Segment::Cruise, 60), Make(Segment::Full, 12),
            Make(Segment::Idle, 20)};
}

// "criterion verdict" for every criterion, in order.
QStringList Verdicts(const TRoadTestResult& result)
{
    QStringList lines;
    for (const TCriterionResult& criterion : result.criteria)
        lines << TRoadTestText::Identifier(criterion.id) + u' ' +
                     TRoadTestText::Identifier(criterion.verdict);
    return lines;
}

// "item current proposed" of a change, the kind's number of an inspection.
QStringList Suggestions(const TRoadTestResult& result)
{
    QStringList lines;
    for (const TSuggestion& s : result.suggestions)
        lines << (s.Changes() ? QStringLiteral("%1 %2 %3").arg(s.item).arg(s.current).arg(s.proposed)
                              : QStringLiteral("inspect %1").arg(int(s.kind)));
    return lines;
}

// Every criterion passes but the ones named, which get the verdict given.
QStringList AllPassBut(const QStringList& others)
{
    QStringList lines = {
        "rpm-signal pass",         "warm-up pass",          "lambda-switching pass", "mixture-balance pass",
        "actuator-authority pass", "default-position pass", "coverage pass"};
    for (const QString& other : others) {
        const QString id = other.section(u' ', 0, 0);
        for (QString& line : lines) {
            if (line.startsWith(id + u' '))
                line = other;
        }
    }
    return lines;
}

QString Inspect(TSuggestionKind kind)
{
    return QStringLiteral("inspect %1").arg(int(kind));
}

} // namespace

Q_DECLARE_METATYPE(QList<Segment>)
Q_DECLARE_METATYPE(TRoadTestSettings)

class TestRoadTestCheck : public QObject {
    Q_OBJECT

private slots:
    void knownAnswers_data();
    void knownAnswers();
    void figuresOfAHealthyDrive();
    void tooLittleClosedLoopGivesNoVerdict_data();
    void tooLittleClosedLoopGivesNoVerdict();
    void onlyTheStretchAskedForIsJudged();
    void suggestionsAreSnappedToTheirItems();
};

void TestRoadTestCheck::knownAnswers_data()
{
    using S = TRoadTestSettings;
    QTest::addColumn<QList<Segment>>("log");
    QTest::addColumn<TRoadTestSettings>("settings");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QStringList>("suggestions");

    const TRoadTestSettings factory = FactorySettings();
    const auto idle = [](
                          double seconds, const std::function<void(Segment&)>& change = [](Segment&) {}) {
        return With(Make(Segment::Idle, seconds), change);
    };
    const auto cruise = [](
                            double seconds, const std::function<void(Segment&)>& change = [](Segment&) {}) {
        return With(Make(Segment::Cruise, seconds), change);
    };
    const auto everywhere = [](QList<Segment> log, const std::function<void(Segment&)>& change) {
        for (Segment& segment : log)
            change(segment);
        return log;
    };
    const Segment full = Make(Segment::Full, 12);

    QTest::newRow("healthy") << Healthy() << factory << AllPassBut({}) << QStringList();

    // rpm-signal
    QTest::newRow("speed lost 1.5 s with the throttle open")
        << QList<Segment>{idle(30), cruise(30), Make(Segment::SpeedLost, 1.5), cruise(30), full, idle(20)}
        << factory << AllPassBut({"rpm-signal fail"})
        << QStringList{Inspect(TSuggestionKind::InspectSpeedSignal)};
    QTest::newRow("speed lost 0.5 s")
        << QList<Segment>{idle(30), cruise(30), Make(Segment::SpeedLost, 0.5), cruise(30), full, idle(20)}
        << factory << AllPassBut({}) << QStringList();
    QTest::newRow("engine stopped at idle")
        << QList<Segment>{idle(30), Make(Segment::Stopped, 10), cruise(60), full, idle(20)} << factory
        << AllPassBut({}) << QStringList();

    // lambda-switching
    QTest::newRow("sensor never switches")
        << everywhere(Healthy(), [](Segment& s) { s.period = 0; }) << factory
        << AllPassBut({"lambda-switching fail", "default-position warn"})
        << QStringList{Inspect(TSuggestionKind::InspectLambdaSensor)};
    QTest::newRow("switching too fast") << everywhere(Healthy(), [](Segment& s) { s.period = 0.3; })
                                        << factory << AllPassBut({"lambda-switching fail"})
                                        << QStringList{Inspect(TSuggestionKind::InspectLambdaWiring)};
    QTest::newRow("35 s without a crossing") << QList<Segment>{idle(30),
                                                               cruise(20),
                                                               cruise(35,
                                                                      [](Segment& s) {
                                                                          s.period = 0;
                                                                          s.band = LiveChannel::Lean;
                                                                      }),
                                                               cruise(20),
                                                               full,
                                                               idle(20)}
                                             << factory << AllPassBut({"lambda-switching fail"})
                                             << QStringList{Inspect(TSuggestionKind::InspectLambdaSensor)};
    QTest::newRow("25 s without a crossing") << QList<Segment>{idle(30),
                                                               cruise(20),
                                                               cruise(25,
                                                                      [](Segment& s) {
                                                                          s.period = 0;
                                                                          s.band = LiveChannel::Lean;
                                                                      }),
                                                               cruise(20),
                                                               full,
                                                               idle(20)}
                                             << factory << AllPassBut({}) << QStringList();

    // mixture-balance
    QTest::newRow("lean 75 %") << everywhere(Healthy(),
                                             [](Segment& s) {
                                                 s.lean = 0.75;
                                                 s.rich = 0.2;
                                                 s.period *= 2;
                                             })
                               << factory << AllPassBut({"mixture-balance warn"}) << QStringList();
    QTest::newRow("rich 90 %") << everywhere(Healthy(),
                                             [](Segment& s) {
                                                 s.lean = 0.05;
                                                 s.rich = 0.9;
                                                 s.period *= 4;
                                             })
                               << factory << AllPassBut({"mixture-balance fail"}) << QStringList();

    // actuator-authority: the idle limit is the default + 25, the cruise one the maximum
    const auto heldAt = [](double position) {
        return [position](Segment& s) {
            s.actuator = position;
            s.swing = 0;
        };
    };
    // Held short of where the loop wants it, the mixture stays lean.
    const auto heldLean = [](double position) {
        return [position](Segment& s) {
            s.actuator = position;
            s.period = 0;
            s.band = LiveChannel::Lean;
        };
    };
    QTest::newRow("held at the idle upper limit 45 %")
        << QList<Segment>{idle(30, heldAt(125)), cruise(60), full, idle(20, heldAt(124))} << factory
        << AllPassBut({"actuator-authority fail"}) << QStringList{"MassimaAperturaAlMinimo 25 47"};
    QTest::newRow("held at the idle upper limit 20 %")
        << QList<Segment>{idle(22, heldAt(125)), cruise(60), full, idle(28)} << factory
        << AllPassBut({"actuator-authority warn"}) << QStringList{"MassimaAperturaAlMinimo 25 47"};
    QTest::newRow("held at the idle upper limit 8 %")
        << QList<Segment>{idle(9, heldAt(125)), cruise(60), full, idle(41)} << factory << AllPassBut({})
        << QStringList();
    QTest::newRow("held at the maximum, which can go no further")
        << QList<Segment>{idle(30), cruise(60, heldAt(240)), full, idle(20)} << factory
        << AllPassBut({"actuator-authority fail", "default-position warn"})
        << QStringList{"POSIZIONE_DEFAULT 100 240", Inspect(TSuggestionKind::InspectGasSupply)};
    TRoadTestSettings raisedMinimum = factory;
    raisedMinimum.Set(S::ActuatorMin, Parameter(40, 1, 20, 240));
    QTest::newRow("held at the minimum")
        << QList<Segment>{idle(30), cruise(60, heldAt(41)), full, idle(20)} << raisedMinimum
        << AllPassBut({"actuator-authority fail", "default-position warn"})
        << QStringList{"POSIZIONE_DEFAULT 100 41", "MINIMA_APERTURA_ATTUATORE 40 20"};

    // default-position
    TRoadTestSettings wideIdle = factory;
    wideIdle.Set(S::IdleAbove, Parameter(100, 1, 0, 240));
    QTest::newRow("loop settles 50 steps above the default")
        << everywhere(Healthy(), [](Segment& s) { s.actuator = 150; }) << wideIdle
        << AllPassBut({"default-position warn"}) << QStringList{"POSIZIONE_DEFAULT 100 150"};
    QTest::newRow("loop settles 35 steps above the default, held at the idle limit")
        << QList<Segment>{idle(15, heldLean(125)), cruise(60, [](Segment& s) { s.actuator = 135; }), full,
                          idle(15, heldLean(125))}
        << factory << AllPassBut({"actuator-authority fail", "default-position warn"})
        << QStringList{"POSIZIONE_DEFAULT 100 135"};
    QTest::newRow("loop settles 15 steps above the default")
        << everywhere(Healthy(), [](Segment& s) { s.actuator = 115; }) << wideIdle << AllPassBut({})
        << QStringList();

    // coverage
    QTest::newRow("no full throttle") << QList<Segment>{idle(30), cruise(60), idle(20)} << factory
                                      << AllPassBut({"coverage warn"}) << QStringList();
    QTest::newRow("9 s of cruise") << QList<Segment>{idle(50), cruise(9), full, idle(20)} << factory
                                   << AllPassBut({"coverage warn"}) << QStringList();
}

void TestRoadTestCheck::knownAnswers()
{
    QFETCH(QList<Segment>, log);
    QFETCH(TRoadTestSettings, settings);
    QFETCH(QStringList, verdicts);
    QFETCH(QStringList, suggestions);
    const TRoadTestResult result = TRoadTestCheck(settings).Run(MakeLog(log));
    QVERIFY(result.judged);
    QCOMPARE(Verdicts(result), verdicts);
    QCOMPARE(Suggestions(result), suggestions);
    QCOMPARE(result.Fails(), verdicts.join(u' ').contains(QLatin1String("fail")));
}

void TestRoadTestCheck::figuresOfAHealthyDrive()
{
    const TRoadTestResult result = TRoadTestCheck(FactorySettings()).Run(MakeLog(Healthy()));
    const TRoadTestText text;
    QStringList figures;
    for (const TCriterionResult& criterion : result.criteria)
        figures << text.Figure(criterion) + u'\t' + text.Threshold(criterion);
    // Two crossings a period: 1.2 s at idle, 0.8 s in cruise (233 in 110 s);
    // the longest time without one is a little over half a period at idle.
    QCOMPARE(figures,
             QStringList({"0 s\t< 1 s", "85 °C\t>= 25 °C", "2.11 /s, 0.7 s\t0.3-5 /s, < 30 s",
                          "lean 47 %, rich 46 %\t<= 70 %, fail > 85 %", "0 %\t<= 10 %, fail > 30 %",
                          "100 / 100\t+/- 22", "idle 50 s, cruise 60 s, full throttle 12 s\t>= 10 s"}));
    QCOMPARE(result.closedSeconds, 109.9);
}

void TestRoadTestCheck::tooLittleClosedLoopGivesNoVerdict_data()
{
    QTest::addColumn<QList<Segment>>("log");
    QTest::addColumn<QString>("reason");
    QTest::newRow("50 s of closed loop")
        << QList<Segment>{Make(Segment::Idle, 20), Make(Segment::Cruise, 30), Make(Segment::Full, 30)}
        << "Only 50 s of closed loop (engine running, warm, not at full throttle): the check needs 60 s and "
           "gives "
           "no verdict.";
    QList<Segment> cold = Healthy();
    for (Segment& segment : cold)
        segment.temperature = 24;
    QTest::newRow("cold engine")
        << cold
        << "Only 0 s of closed loop (engine running, warm, not at full throttle): the check "
           "needs 60 s and gives no verdict. The engine did not reach the changeover "
           "temperature (highest 24 °C, changeover 25 °C).";
    QTest::newRow("empty log") << QList<Segment>{}
                               << "Only 0 s of closed loop (engine running, warm, not at full "
                                  "throttle): the check needs 60 s and gives no verdict.";
}

void TestRoadTestCheck::tooLittleClosedLoopGivesNoVerdict()
{
    QFETCH(QList<Segment>, log);
    QFETCH(QString, reason);
    const TRoadTestResult result = TRoadTestCheck(FactorySettings()).Run(MakeLog(log));
    QVERIFY(!result.judged);
    QVERIFY(result.criteria.isEmpty());
    QVERIFY(result.suggestions.isEmpty());
    QCOMPARE(TRoadTestText().NoVerdict(result), reason);
}

// The stretch of a lost speed signal lies outside the one judged.
void TestRoadTestCheck::onlyTheStretchAskedForIsJudged()
{
    QList<Segment> log = Healthy();
    log.prepend(Make(Segment::SpeedLost, 3));
    log.prepend(Make(Segment::Cruise, 5));
    const TSampleRing samples = MakeLog(log);
    const TRoadTestCheck check(FactorySettings());
    QCOMPARE(check.Run(samples).Criterion(TCriterionId::RpmSignal)->verdict, TVerdict::Fail);
    QCOMPARE(check.Run(samples, 8, samples.LastTime()).Criterion(TCriterionId::RpmSignal)->verdict,
             TVerdict::Pass);
}

// A proposed value lies on the item's step and within its limits and the
// actuator's: the default position is never proposed beyond the maximum.
void TestRoadTestCheck::suggestionsAreSnappedToTheirItems()
{
    using S = TRoadTestSettings;
    TRoadTestSettings settings = FactorySettings();
    settings.Set(S::ActuatorMax, Parameter(130, 1, 20, 240));
    settings.Set(S::IdleAbove, Parameter(100, 1, 0, 240));
    QList<Segment> log = Healthy();
    for (Segment& segment : log)
        segment.actuator = 160; // beyond the maximum: the unit would clamp it, the check must not propose it
    const TRoadTestResult result = TRoadTestCheck(settings).Run(MakeLog(log));
    QVERIFY(Suggestions(result).contains(QStringLiteral("POSIZIONE_DEFAULT 100 130")));

    TRoadTestParameter tenths = Parameter(2.8, 0.1, 0, 5);
    QCOMPARE(tenths.Snapped(3.14159), 3.1);
    QCOMPARE(tenths.Snapped(7), 5.0);
}

QTEST_GUILESS_MAIN(TestRoadTestCheck)
#include "tst_roadtestcheck.moc"
